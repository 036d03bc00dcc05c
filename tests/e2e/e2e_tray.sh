#!/usr/bin/env bash
# Navolet under Wine: starts hidden with its icon in the tray, opens its popup on the
# right button, shows the About box, and ends through its own Exit command.
#   e2e_tray.sh NAVOLET_EXE DRIVER_EXE SCREENSHOT_DIR
set -uo pipefail
navolet=$1
driver=$2
shots=$3
mkdir -p "$shots"

WM_KEYDOWN=0x100 WM_COMMAND=0x111 WM_SYSCOMMAND=0x112 WM_TRAYNOTIFY=0x464
WM_RBUTTONDOWN=0x204 VK_RETURN=0x0D VK_ESCAPE=0x1B ID_TRAY_EXIT=32773 IDM_ABOUTBOX=16

drive() { wine "$driver" "$@"; }
shot() { import -window root "$shots/$1.png"; }

pid=""
fail() {
  echo "FAIL: $*"
  shot failure
  drive list
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}

wine "$navolet" &
pid=$!

drive wait-hidden 20 || fail "the tray window did not hide after its first paint"
drive no-message-box || fail "a start-up failure was reported"
drive wait-visible __winex11_standalone_tray "Wine System Tray" 5 || fail "no icon in the tray"
shot started

drive post $WM_TRAYNOTIFY 1 $WM_RBUTTONDOWN || fail "posting the right-button notification"
drive wait-popup 5 || fail "the popup menu did not open"
shot popup
drive popup-key $VK_ESCAPE
drive wait-closed "#32768" "" 5 || true

drive post $WM_SYSCOMMAND $IDM_ABOUTBOX 0 || fail "posting the About command"
drive wait-visible "#32770" "About Navolet" 5 || fail "the About box did not open"
shot about
drive post-to "#32770" "About Navolet" $WM_KEYDOWN $VK_RETURN 0
drive wait-closed "#32770" "About Navolet" 5 || fail "Enter did not close the About box"

drive post $WM_COMMAND $ID_TRAY_EXIT 0 || fail "posting Exit"
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Navolet still running 10 s after Exit"
wait "$pid"
echo "Navolet ended after Exit (status $?)"
pid=""
shot ended
echo "PASS: screenshots in $shots"
