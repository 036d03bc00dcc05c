#!/usr/bin/env bash
# The main job under Wine with the demo camera: a double-click on the tray icon opens the
# camera's property frame, once; closing it leaves no capture filter alive; settings made
# there are shown again at the next launch. Without the camera, or with a device of
# another name, a double-click shows nothing and a later launch still works.
#   e2e_camera.sh NAVOLET_EXE DRIVER_EXE PROBE_EXE DEMOCAM_DLL SCREENSHOT_DIR
set -uo pipefail
navolet=$1
driver=$2
probe=$3
democam=$(winepath -w "$4")
shots=$5
mkdir -p "$shots"

WM_COMMAND=0x111 WM_TRAYNOTIFY=0x464 WM_LBUTTONDBLCLK=0x203 ID_TRAY_EXIT=32773
IDOK=1 IDCANCEL=2 IDC_BRIGHTNESS=1001

drive() { wine "$driver" "$@"; }
look() { wine "$probe" "$@"; }
shot() { import -window root "$shots/$1.png"; }
double_click() { drive post $WM_TRAYNOTIFY 1 $WM_LBUTTONDBLCLK; }
register() { NAVOLET_DEMOCAM_NAME="${1:-}" wine regsvr32 /s "$democam" >/dev/null 2>&1; }
unregister() { wine regsvr32 /s /u "$democam" >/dev/null 2>&1; }

pid=""
fail() {
  echo "FAIL: $*"
  shot failure
  drive list
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  register
  exit 1
}

# Nothing shows within a few seconds of a double-click, and no capture filter stays.
expect_nothing() {
  double_click || fail "posting the double-click"
  sleep 3
  look wait-frames 0 1 || fail "$1: a property frame opened"
  drive no-message-box || fail "$1: a message box opened"
  look wait-no-filters 5 || fail "$1: a capture filter stayed alive"
}

open_frame() {
  double_click || fail "posting the double-click"
  look wait-frames 1 15 || fail "$1: the property frame did not open"
  look describe || fail "$1: the frame does not show the camera's page"
}

close_frame() {
  look press "$1"
  look wait-frames 0 10 || fail "the property frame did not close"
  look wait-no-filters 10 || fail "closing the frame left a demo capture filter alive"
}

register || fail "registering the demo camera"
wine reg add 'HKCU\Software\Navolet\DemoCam' /v LiveFilters /t REG_DWORD /d 0 /f >/dev/null 2>&1

wine "$navolet" &
pid=$!
drive wait-hidden 20 || fail "the tray window did not hide after its first paint"

open_frame "first double-click"
shot frame
look set-slider $IDC_BRIGHTNESS 200 || fail "moving the brightness slider"
look live-filters

# A second double-click while the frame is open opens nothing more.
double_click || fail "posting the second double-click"
sleep 2
look wait-frames 1 1 || fail "a second double-click opened another frame"
shot second-double-click

close_frame $IDOK

# The device kept the setting; the next launch shows it.
open_frame "launch after closing"
[ "$(look get-slider $IDC_BRIGHTNESS | tr -d '\r')" = 200 ] || fail "the brightness setting was not shown again"
shot frame-again
close_frame $IDCANCEL

unregister
expect_nothing "no camera registered"
shot no-camera

register "Quendal KVX410RB PC Camera 2"
expect_nothing "camera under another name"

register
open_frame "launch after the quiet ones"
close_frame $IDCANCEL

drive post $WM_COMMAND $ID_TRAY_EXIT 0 || fail "posting Exit"
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "Navolet still running 10 s after Exit"
wait "$pid"
echo "Navolet ended after Exit (status $?)"
pid=""
echo "PASS: screenshots in $shots"
