# Screen captures of and clicks into a program's windows under Xvfb without a window manager; sourced
# by the screenshot scripts (needs xdotool, xwd, convert and wine, and DISPLAY set).

# control_place PROBE TITLE CONTROL [ITEM]
#   sets CX, CY to the screen point a click on the control hits (or on entry ITEM of a list box) and
#   BOTTOM to the control's lower edge, as the tests' probe program (test_probe.exe) reads them from the
#   program's window of that title; CONTROL is the control's name in the program (see the probe).
control_place() {
  read -r CX CY BOTTOM < <(wine "$1" place "$2" "$3" ${4:-} 2>/dev/null | tr -d '\r')
  [ -n "${BOTTOM:-}" ] || { echo "x-capture.sh: no control $3 in a window \"$2\"" >&2; return 1; }
}

# click_control PROBE TITLE CONTROL [ITEM] [BUTTON]
#   clicks (button 1 unless told) the control or list entry.
click_control() {
  control_place "$1" "$2" "$3" "${4:-}"
  xdotool mousemove "$CX" "$CY" click "${5:-1}"
}

# capture_windows PICTURE MAIN [WINDOW...]
#   writes the part of the screen that holds MAIN and every WINDOW to PICTURE. Without a window
#   manager, windows lying over MAIN show black in a capture of the screen (their own X windows hold
#   the right pixels), so each WINDOW's own picture is laid over the capture where it stands.
capture_windows() {
  local picture=$1 window
  shift
  local left=100000 top=100000 right=0 bottom=0
  for window in "$@"; do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    left=$((X < left ? X : left)) top=$((Y < top ? Y : top))
    right=$((X + WIDTH > right ? X + WIDTH : right)) bottom=$((Y + HEIGHT > bottom ? Y + HEIGHT : bottom))
  done
  xwd -root -silent -display "$DISPLAY" |
    convert xwd:- -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage "$picture"
  shift
  for window in "$@"; do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xwd -id "$window" -silent -display "$DISPLAY" |
      convert "$picture" xwd:- -geometry "+$((X - left))+$((Y - top))" -composite "$picture"
  done
  echo "screenshot written to $picture"
}
