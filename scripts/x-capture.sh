# Screen captures of a program's windows under Xvfb without a window manager; sourced by the
# screenshot scripts (needs xdotool, xwd and convert, and DISPLAY set).
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
