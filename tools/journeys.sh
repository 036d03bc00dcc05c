# Journeys through a running Navolet under Wine, shared by tools/run.sh and the
# end-to-end test. The caller sets NAVOLET, DRIVER (NavoletDriver.exe) and SHOTS (the
# screenshot folder) and has a display, a prefix and a wineserver.
NAVOLET_PID=""
WM_KEYDOWN=0x100 WM_COMMAND=0x111 WM_SYSCOMMAND=0x112 WM_TRAYNOTIFY=0x464
WM_RBUTTONDOWN=0x204 VK_RETURN=0x0D VK_ESCAPE=0x1B VK_X=0x58
IDM_ABOUTBOX=16 ID_TRAY_EXIT=32773

drive() { wine "$DRIVER" "$@"; }
shot() {
  import -window root "$SHOTS/$1.png"
  echo "  screenshot: $SHOTS/$1.png${2:+ ($2)}"
}
fail() {
  echo "FAIL: $*" >&2
  shot failure "what the screen showed"
  drive list >&2
  [ -n "$NAVOLET_PID" ] && kill "$NAVOLET_PID" 2>/dev/null
  exit 1
}

# Starts Navolet and waits until its window has hidden itself and its icon is in the tray.
start_navolet() {
  echo "Starting Navolet"
  wine "$NAVOLET" &
  NAVOLET_PID=$!
  drive wait-hidden 20 || fail "the window did not hide itself after its first paint"
  drive no-message-box || fail "Navolet reported a start-up failure"
  # The icon was added, or the failure box would show. Without a tray of the desktop's
  # own, Wine shows it in a small tray window of its own at the top left.
  drive wait-visible __winex11_standalone_tray "Wine System Tray" 5 ||
    echo "  no Wine tray window: the icon is docked in the desktop's tray"
  shot 1-tray-icon "the icon in Wine's system tray, top left"
}

# The icon's right-click menu, then the About box of the window's system menu.
journey_tray() {
  echo "Right-clicking the tray icon"
  drive post $WM_TRAYNOTIFY 1 $WM_RBUTTONDOWN
  drive wait-popup 5 || fail "the popup menu did not open"
  shot 2-popup-menu "the icon's menu"
  drive popup-key $VK_ESCAPE
  drive wait-closed "#32768" "" 5 || fail "Escape did not close the popup menu"

  echo "Opening the About box"
  drive post $WM_SYSCOMMAND $IDM_ABOUTBOX 0
  drive wait-visible "#32770" "About Navolet" 5 || fail "the About box did not open"
  shot 3-about-box "the About box"
  drive post-to "#32770" "About Navolet" $WM_KEYDOWN $VK_RETURN 0
  drive wait-closed "#32770" "About Navolet" 5 || fail "Enter did not close the About box"
}

# Ends Navolet through its Exit command: chosen on the icon's menu ("menu"), or posted
# as the menu would send it ("command"). The process must be gone within 10 s.
end_navolet() {
  echo "Exit ($1)"
  if [ "$1" = menu ]; then
    drive post $WM_TRAYNOTIFY 1 $WM_RBUTTONDOWN
    drive wait-popup 5 || fail "the popup menu did not open"
    drive popup-key $VK_X
  else
    drive post $WM_COMMAND $ID_TRAY_EXIT 0 || fail "posting Exit"
  fi
  for _ in $(seq 100); do
    kill -0 "$NAVOLET_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$NAVOLET_PID" 2>/dev/null && fail "Navolet still running 10 s after Exit"
  NAVOLET_PID=""
  echo "  Navolet has ended"
  shot 4-ended "the tray without the icon"
}
