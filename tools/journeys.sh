# The journey through Navolet under Wine, shared by tools/run.sh and the end-to-end test.
# The caller sets NAVOLET, DRIVER (NavoletDriver.exe), DEMOCAM (democam.dll) and SHOTS
# (the screenshot folder), and has a display, a prefix and a wineserver. The prefix's
# programs live on a Wine desktop of their own, 1280x800; no other program's window gets
# in the pictures. (A desktop of the driver's own alone would not do: 64-bit programs do
# not take it.) Where its tray is depends on the Wine release (Wine 8: a taskbar at the
# bottom, as on Windows; Wine 10: a small window at the top left): the journey asks the
# driver where the icon is, as a user looks for it.
WM_KEYDOWN=0x100 WM_COMMAND=0x111 WM_SYSCOMMAND=0x112 VK_RETURN=0x0D VK_ESCAPE=0x1B VK_X=0x58
IDM_ABOUTBOX=16 ID_TRAY_EXIT=32773 IDOK=1 IDCANCEL=2 IDC_BRIGHTNESS=1001
NAVOLET_PID="" DESKTOP_WINDOW=""

drive() { wine "$DRIVER" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# The demo camera counts its live capture filters in the registry: waits up to $1 s for none.
no_filters() {
  for _ in $(seq $(($1 * 4))); do
    wine reg query 'HKCU\Software\Navolet\DemoCam' /v LiveFilters 2>/dev/null | grep -q 'REG_DWORD[[:space:]]*0x0' && return 0
    sleep 0.25
  done
  return 1
}
fail() {
  echo "FAIL: $*" >&2
  import -window root "$SHOTS/failure.png"
  # The Wine process the journey started is Navolet itself.
  [ -n "$NAVOLET_PID" ] && kill "$NAVOLET_PID" 2>/dev/null
  exit 1
}

own_desktop() {
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Navolet /d 1280x800 /f &&
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Navolet /f
  # Wine draws the caption buttons with Marlett, which Debian's Wine does not find by itself.
  cp -n /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
} >/dev/null 2>&1

# Keeps a picture of the desktop once it has settled (two captures alike) and the part
# that matters (GEOMETRY, else all of it) is drawn: not all one colour. With a NAME, that
# part (or AROUND) is also kept as the README's picture $SHOTS/docs/NAME.png.
#   shot FILE CAPTION [GEOMETRY [NAME [AROUND]]]
shot() {
  local file=$SHOTS/$1.png last="" now=""
  for _ in $(seq 20); do
    import -window "${DESKTOP_WINDOW:-root}" "$file"
    now=$(convert "$file" ${3:+-crop "$3"} -format '%# %k' info:)
    [ "$now" = "$last" ] && [ "${now#* }" -gt 1 ] && break
    last=$now
    sleep 0.3
  done
  [ "${now#* }" -gt 1 ] || fail "$1: nothing drawn, the picture is all one colour"
  echo "  screenshot: $file ($2)"
  [ -n "${4:-}" ] && mkdir -p "$SHOTS/docs" && convert "$file" -crop "${5:-$3}" +repage "$SHOTS/docs/$4.png"
  return 0
}

# Where the icon is on the screen, as ImageMagick's geometry.
icon_area() { drive icon-rect || fail "the icon is in no tray window"; }
# The smallest geometry that holds the given ones and MARGIN pixels around them, within
# the screen's top and left.
#   around MARGIN GEOMETRY...
around() {
  local m=$1 g w h x y l=100000 t=100000 r=0 b=0
  shift
  for g in "$@"; do
    IFS='x+' read -r w h x y <<<"$g"
    l=$((x < l ? x : l)) t=$((y < t ? y : t)) r=$((x + w > r ? x + w : r)) b=$((y + h > b ? y + h : b))
  done
  l=$((l > m ? l - m : 0)) t=$((t > m ? t - m : 0))
  echo "$((r + m - l))x$((b + m - t))+$l+$t"
}
# The user's mouse on the icon (BUTTON, CLICKS). The pointer then moves away, so that no
# tooltip hides a picture.
click_icon() {
  local w h x y
  IFS='x+' read -r w h x y <<<"$(icon_area)" && [ -n "$y" ] || fail "the icon is in no tray window"
  xdotool mousemove --window "$DESKTOP_WINDOW" $((x + w / 2)) $((y + h / 2)) click --repeat "$2" --delay 150 "$1"
  xdotool mousemove --window "$DESKTOP_WINDOW" 900 450
}
open_menu() {
  echo "Right-clicking the icon"
  click_icon 3 1
  drive wait "#32768" "*" 1 5 >/dev/null || fail "the icon's menu did not open"
}
double_click() {
  echo "Double-clicking the icon${1:+ ($1)}"
  click_icon 1 2
}
open_frame() {
  drive wait frame "*" 1 15 >/dev/null || fail "the camera's property frame did not open"
  drive page | sed 's/^/  /'
  [ "${PIPESTATUS[0]}" = 0 ] || fail "the frame is not titled after the camera or does not show its page"
}
close_frame() {
  echo "Closing the frame with $2"
  drive post-to frame "*" $WM_COMMAND "$1" 0
  drive wait frame "*" 0 10 >/dev/null || fail "the property frame did not close"
  no_filters 10 || fail "closing the frame left a capture filter alive"
}
# A double-click shows nothing and leaves no capture filter.
expect_nothing() {
  double_click "$1"
  sleep 3
  drive wait frame "*" 0 1 >/dev/null || fail "$1: a property frame opened"
  drive no-message-box || fail "$1: a message box opened"
  no_filters 5 || fail "$1: a capture filter stayed alive"
  echo "  nothing shown"
}
camera() {
  echo "Registering the demo camera${1:+ as \"$1\"}"
  NAVOLET_DEMOCAM_NAME="${1:-}" wine regsvr32 /s "$(winepath -w "$DEMOCAM")" >/dev/null 2>&1
}
# A process that died with demo filters alive leaves a stale count in the prefix.
reset_live_filters() {
  wine reg add 'HKCU\Software\Navolet\DemoCam' /v LiveFilters /t REG_DWORD /d 0 /f >/dev/null 2>&1
}

start_navolet() {
  echo "Starting Navolet"
  wine "$NAVOLET" &
  NAVOLET_PID=$!
  drive wait-tray 30 || fail "no hidden tray window with its icon in the tray"
  drive no-message-box || fail "Navolet reported a start-up failure"
  DESKTOP_WINDOW=$(xdotool search --onlyvisible --name '^Navolet - Wine desktop$' | tail -n 1)
  [ -n "$DESKTOP_WINDOW" ] || fail "no Wine desktop window"
  shot 1-tray-icon "the icon in the tray" "$(icon_area)"
}

# The icon's menu, the About box of the window's system menu.
menu_and_about() {
  open_menu
  local menu
  menu=$(drive rect "#32768" '*')
  # The README's picture: the menu and the icon it belongs to, with some desktop around.
  shot 2-tray-menu "the icon's menu" "$menu" tray-menu "$(around 30 "$menu" "$(icon_area)")"
  drive post-to "#32768" "*" $WM_KEYDOWN $VK_ESCAPE 0
  drive wait "#32768" "*" 0 5 >/dev/null || fail "Escape did not close the icon's menu"

  echo "Opening the About box"
  drive post $WM_SYSCOMMAND $IDM_ABOUTBOX 0
  drive wait "#32770" "About Navolet" 1 5 >/dev/null || fail "the About box did not open"
  shot 3-about-box "the About box" "$(drive rect "#32770" "About Navolet")" about-box
  drive post-to "#32770" "About Navolet" $WM_KEYDOWN $VK_RETURN 0
  drive wait "#32770" "About Navolet" 0 5 >/dev/null || fail "Enter did not close the About box"
}

# A double-click opens the camera's frame, once; what is set there shows again when a
# second start of Navolet hands over to the first, which keeps one tray window.
frame_and_second_start() {
  double_click
  open_frame
  shot 4-property-frame "the camera's property frame" "$(drive rect frame '*')" property-frame
  echo "Moving the brightness slider to 200"
  drive slider $IDC_BRIGHTNESS 200 >/dev/null || fail "moving the brightness slider"
  double_click "while the frame is open"
  sleep 2
  drive wait frame "*" 1 1 >/dev/null || fail "a second double-click opened another frame"
  close_frame $IDOK OK

  echo "Starting Navolet a second time"
  timeout 20 wine "$NAVOLET" || fail "the second Navolet did not end by itself"
  open_frame
  drive wait-tray 1 || fail "not one tray window after the second start"
  [ "$(drive slider $IDC_BRIGHTNESS)" = 200 ] || fail "the first Navolet did not show the brightness set before"
  echo "  the first Navolet's frame, brightness 200"
  shot 5-second-start "the frame the second start asked for, brightness 200" "$(drive rect frame '*')"
  close_frame $IDCANCEL Cancel
}

# A new taskbar: the icon is gone until "TaskbarCreated" brings it back, and it answers.
taskbar_created() {
  echo "The taskbar made anew: the icon taken away, \"TaskbarCreated\" broadcast"
  drive taskbar-created || fail "broadcasting TaskbarCreated"
  drive wait-tray 10 || fail "the icon did not come back"
  shot 6-icon-back "the icon back in the tray" "$(icon_area)"
  double_click "the icon back"
  open_frame
  close_frame $IDCANCEL Cancel
}

# Without the camera, or with a device of another name, a double-click shows nothing.
no_camera() {
  echo "Removing the demo camera"
  wine regsvr32 /s /u "$(winepath -w "$DEMOCAM")" >/dev/null 2>&1
  expect_nothing "no camera"
  camera "Quendal KVX410RB PC Camera 2"
  expect_nothing "a device of another name"
  camera
  double_click "with the camera back"
  open_frame
  close_frame $IDCANCEL Cancel
}

# Exit on the icon's menu: the process is gone within 10 s.
end_navolet() {
  open_menu
  echo "Choosing Exit"
  drive post-to "#32768" "*" $WM_KEYDOWN $VK_X 0
  for _ in $(seq 100); do
    kill -0 "$NAVOLET_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$NAVOLET_PID" 2>/dev/null && fail "Navolet still running 10 s after Exit"
  NAVOLET_PID=""
  echo "  Navolet has ended"
}

journey() {
  mkdir -p "$SHOTS"
  own_desktop
  camera
  reset_live_filters
  start_navolet
  menu_and_about
  frame_and_second_start
  taskbar_created
  no_camera
  end_navolet
}
