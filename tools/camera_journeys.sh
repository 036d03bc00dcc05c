# The camera journeys through a running Navolet, shared by tools/run.sh and the camera's
# end-to-end test. Needs what tools/journeys.sh needs, plus PROBE (FrameProbe.exe) and
# DEMOCAM (the demo camera's DLL, registered in the prefix).
WM_LBUTTONDBLCLK=0x203 IDOK=1 IDCANCEL=2 IDC_BRIGHTNESS=1001

look() { wine "$PROBE" "$@"; }
double_click() {
  echo "Double-clicking the tray icon${1:+ ($1)}"
  drive post $WM_TRAYNOTIFY 1 $WM_LBUTTONDBLCLK || fail "posting the double-click"
}
register_camera() {
  echo "Registering the demo camera${1:+ as \"$1\"}"
  NAVOLET_DEMOCAM_NAME="${1:-}" wine regsvr32 /s "$(winepath -w "$DEMOCAM")" >/dev/null 2>&1
}
# The demo camera counts its live capture filters in the prefix's registry; a process that
# died with filters alive leaves a stale count behind.
reset_live_filters() {
  wine reg add 'HKCU\Software\Navolet\DemoCam' /v LiveFilters /t REG_DWORD /d 0 /f >/dev/null 2>&1
}
unregister_camera() {
  echo "Removing the demo camera"
  wine regsvr32 /s /u "$(winepath -w "$DEMOCAM")" >/dev/null 2>&1
}

open_frame() {
  look wait-frames 1 15 || fail "the camera's property frame did not open"
  look describe || fail "the frame does not show the camera's page"
}
close_frame() {
  look press "$1"
  look wait-frames 0 10 || fail "the property frame did not close"
  look wait-no-filters 10 || fail "closing the frame left a capture filter alive"
}

# Double-click: the camera's property frame opens, once; what is set there is shown
# again at the next launch; closing it leaves no capture filter alive.
journey_camera() {
  double_click
  open_frame
  shot camera-1-property-frame "the camera's property frame"
  echo "Moving the brightness slider to 200"
  look set-slider $IDC_BRIGHTNESS 200 || fail "moving the brightness slider"
  double_click "while the frame is open"
  sleep 2
  look wait-frames 1 1 || fail "a second double-click opened another frame"
  shot camera-2-brightness "brightness at 200, still one frame"
  echo "Closing the frame with OK"
  close_frame $IDOK
  double_click "again"
  open_frame
  [ "$(look get-slider $IDC_BRIGHTNESS | tr -d '\r')" = 200 ] || fail "the brightness setting was not shown again"
  echo "  brightness shows 200 again"
  shot camera-3-reopened "the frame reopened with brightness 200"
  echo "Closing the frame with Cancel"
  close_frame $IDCANCEL
}

# Nothing shows after a double-click, and no capture filter stays.
expect_nothing() {
  double_click "$1"
  sleep 3
  look wait-frames 0 1 || fail "$1: a property frame opened"
  drive no-message-box || fail "$1: a message box opened"
  look wait-no-filters 5 || fail "$1: a capture filter stayed alive"
  echo "  nothing shown"
}

# Without the camera, or with a device of another name, a double-click shows nothing;
# the camera back, a launch works again.
journey_no_camera() {
  unregister_camera
  expect_nothing "no camera"
  shot camera-4-no-camera "nothing but the tray icon"
  register_camera "Quendal KVX410RB PC Camera 2"
  expect_nothing "a device of another name"
  register_camera
  double_click "with the camera back"
  open_frame
  close_frame $IDCANCEL
}
