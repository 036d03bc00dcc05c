#!/usr/bin/env bash
# Runs Navolet. With a display it starts the program for you: it lives in the
# notification area; right-click its icon and choose "Exit" to end it. Without a display
# it starts Xvfb, drives the program through its journeys and keeps screenshots in
# build/run/.
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ROOT/tools/setup.sh"
navolet_build >/dev/null

RUN=$BUILD/run
NAVOLET=$BUILD/Navolet.exe
DRIVER=$BUILD/NavoletDriver.exe
NAVOLET_PID=""

WM_KEYDOWN=0x100 WM_SYSCOMMAND=0x112 WM_TRAYNOTIFY=0x464 WM_RBUTTONDOWN=0x204
VK_RETURN=0x0D VK_X=0x58 IDM_ABOUTBOX=16

drive() { wine "$DRIVER" "$@"; }
shot() {
  import -window root "$RUN/$1.png"
  echo "  screenshot: build/run/$1.png ($2)"
}
fail() {
  echo "run: $*" >&2
  shot failure "what the screen showed"
  [ -n "$NAVOLET_PID" ] && kill "$NAVOLET_PID" 2>/dev/null
  exit 1
}

# Starts Navolet and waits until its window has hidden itself and its icon is in the tray.
start_navolet() {
  echo "Starting Navolet"
  wine "$NAVOLET" &
  NAVOLET_PID=$!
  drive wait-hidden 20 || fail "the window did not hide itself"
  drive no-message-box || fail "Navolet reported a start-up failure"
  drive wait-visible __winex11_standalone_tray "Wine System Tray" 5 || fail "no icon in the tray"
  echo "  the window is hidden and the icon is in the tray"
  shot 1-tray-icon "the icon in Wine's system tray, top left"
}

# The icon's right-click menu, and the About box of the window's system menu.
journey_tray() {
  echo "Right-clicking the tray icon"
  drive post $WM_TRAYNOTIFY 1 $WM_RBUTTONDOWN
  drive wait-popup 5 || fail "the popup menu did not open"
  shot 2-popup-menu "the icon's menu"
  drive popup-key 0x1B
  drive wait-closed "#32768" "" 5 || true

  echo "Opening the About box"
  drive post $WM_SYSCOMMAND $IDM_ABOUTBOX 0
  drive wait-visible "#32770" "About Navolet" 5 || fail "the About box did not open"
  shot 3-about-box "the About box"
  drive post-to "#32770" "About Navolet" $WM_KEYDOWN $VK_RETURN 0
  drive wait-closed "#32770" "About Navolet" 5 || fail "the About box did not close"
}

# Every journey, in order; each leaves Navolet running with its icon in the tray.
JOURNEYS=(journey_tray)

# Ends Navolet as a user does: "Exit" on the icon's menu.
end_navolet() {
  echo "Choosing Exit from the icon's menu"
  drive post $WM_TRAYNOTIFY 1 $WM_RBUTTONDOWN
  drive wait-popup 5 || fail "the popup menu did not open"
  drive popup-key $VK_X
  for _ in $(seq 100); do
    kill -0 "$NAVOLET_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$NAVOLET_PID" 2>/dev/null && fail "Navolet did not end"
  NAVOLET_PID=""
  echo "  Navolet has ended"
  shot 4-ended "the tray without the icon"
}

run_headless() {
  navolet_display
  trap navolet_cleanup EXIT
  navolet_prefix
  navolet_wineserver
  rm -rf "$RUN"
  mkdir -p "$RUN"
  start_navolet
  for journey in "${JOURNEYS[@]}"; do "$journey"; done
  end_navolet
  echo "Done: screenshots in build/run/"
}

run_on_display() {
  navolet_prefix
  echo "Navolet runs in the notification area: right-click its icon for its menu."
  wine "$NAVOLET"
}

if [ -n "${DISPLAY:-}" ]; then run_on_display; else run_headless; fi
