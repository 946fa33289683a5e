# Screen captures of and clicks into a program's windows under Xvfb without a window manager; sourced
# by the screenshot scripts (needs xdotool, xwd and convert, and DISPLAY set).

# client_origin WINDOW CLIENT_W CLIENT_H
#   sets X, Y, WIDTH, HEIGHT to the window's geometry and border, top to where its client area starts
#   in it. Wine draws the frame itself, so the X window holds the frame: the client area is found from
#   the designer's client size in twips, at the caller's $dpi.
client_origin() {
  local window=$1 client_w=$2 client_h=$3
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local cw=$((client_w * dpi / 1440)) ch=$((client_h * dpi / 1440))
  border=$(((WIDTH - cw) / 2))
  top=$((HEIGHT - ch - border))
}

# click_twips WINDOW CLIENT_W CLIENT_H X Y [BUTTON]
#   clicks (button 1 unless told) the point X,Y given in twips of the window's client area.
click_twips() {
  local window=$1 client_w=$2 client_h=$3 x=$4 y=$5 button=${6:-1}
  client_origin "$window" "$client_w" "$client_h"
  xdotool mousemove $((X + border + x * dpi / 1440)) $((Y + top + y * dpi / 1440)) click "$button"
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
