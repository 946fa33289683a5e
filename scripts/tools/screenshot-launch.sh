#!/usr/bin/env bash
# Screenshots of a launch at one DPI: the start-up's word on a config that configs.ini names and the
# command line cannot carry ("my config.cfg"), the main window with its upper frame ("HL.EXE path:"),
# the config window, the wait window while a big demo (a sparse file of SIZE_MB megabytes) is copied
# into the game folder, and the question that a close (Alt+F4) during that copy asks, answered No.
# Starts a built vorelix.exe under Xvfb and Wine on a temporary game folder whose hl.exe is the tests'
# stand-in game, clicks with xdotool, and writes six PNGs; it prints how long PlayDemo took to start
# the game.
# Usage: scripts/tools/screenshot-launch.sh [BUILD_DIR] [OUT_PREFIX] [DPI] [SIZE_MB]
#   BUILD_DIR   default build/win (this script builds nothing: vorelix.exe and the stand-in must be there)
#   OUT_PREFIX  default launch: writes launch-DPI-leftout.png, -main.png, -frame.png, -configs.png,
#               -wait.png, -close.png
#   DPI         default 96 (HKCU\Control Panel\Desktop\LogPixels of a temporary prefix)
#   SIZE_MB     default 800
set -euo pipefail
build=$(realpath "${1:-build/win}")
prefix_out=$(realpath -m "${2:-launch}")
dpi=${3:-96}
size_mb=${4:-800}
exe=$build/src/app/vorelix.exe
standin=$build/tests/support/test_probe.exe  # the stand-in game when named hl.exe
for file in "$exe" "$standin"; do
  [ -f "$file" ] || { echo "screenshot-launch.sh: no $file (build it first)" >&2; exit 2; }
done
source "$(dirname "$(realpath "$0")")/../support/shot-work.sh"
shot_work screenshot-launch.sh launch xvfb-run xdotool xwd convert wine

# The program in a folder of its own (configs.ini lands beside it) and a game folder with the stand-in.
mkdir -p "$work/program" "$work/Half-Life/cstrike" "$work/Demos"
cp "$exe" "$work/program/vorelix.exe"
cp "$standin" "$work/Half-Life/hl.exe"
echo engine >"$work/Half-Life/hw.dll"
for name in cached.wad autoexec.cfg a.cfg b.cfg "my config.cfg" "rates.cfg"; do
  printf '// stand-in\r\n' >"$work/Half-Life/cstrike/$name"
done
printf 'b.cfg\r\nmy config.cfg\r\n\r\n' >"$work/program/configs.ini"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -s "$work" "$prefix_out" "$dpi" "$(dirname "$(realpath "$0")")/../support" "$size_mb" "$standin" <<'INNER'
set -euo pipefail
work=$1 out=$2 dpi=$3 probe=$6
source "$4/x-capture.sh"
"$4/wine-prefix.sh" create
# A sparse demo of SIZE_MB megabytes.
wine "$probe" demo big "$(winepath -w "$work/Demos/big_match.dem")" "$5"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Vorelix\CooMMon' /v HLEXEPath /d "$(winepath -w "$work/Half-Life/hl.exe")" /f \
  >/dev/null 2>&1
wine reg add 'HKCU\Software\Vorelix\CooMMon' /v UseAutoexec /d 1 /f >/dev/null 2>&1
# Wine reads the DPI when its server starts.
wineserver -k; wineserver -w

# The stand-in writes what it was given where this variable says; the game inherits it from the program.
export VORELIX_STANDIN_RECORD=$(winepath -w "$work/Half-Life/standin-record.txt")
wine "$work/program/vorelix.exe" "$(winepath -w "$work/Demos/big_match.dem")" >/dev/null 2>&1 </dev/null &
program=$!
# Start-up tells, before the main window shows, that "my config.cfg" is left out.
leftout=$(timeout 60 xdotool search --sync --onlyvisible --name "^Vorelix$" | head -1)
sleep 1
capture_windows "$out-$dpi-leftout.png" "$leftout"
xdotool key Return  # the box has the focus
main=$(timeout 60 xdotool search --sync --onlyvisible --name "Vorelix v2.1b" | head -1)
sleep 1

# The wait window has no caption: it is the small window of the program that is up during the copy.
find_wait_window() {
  local window
  for window in $(xdotool search --onlyvisible --classname 'vorelix.exe' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    if [ "$WIDTH" -gt 20 ] && [ "$WIDTH" -lt $((2000 * dpi / 1440)) ] && [ "$HEIGHT" -gt 20 ] &&
       [ "$HEIGHT" -lt $((1000 * dpi / 1440)) ]; then
      echo "$window"
      return 0
    fi
  done
  return 1
}
capture_windows "$out-$dpi-main.png" "$main"
# The upper frame alone: the window down to the game frame's lower edge.
title="Vorelix v2.1b [for CS 1.4-1.5]"
control_place "$probe" "$title" GameFrame
eval "$(xdotool getwindowgeometry --shell "$main")"
convert "$out-$dpi-main.png" -crop "${WIDTH}x$((BOTTOM - Y))+0+0" +repage "$out-$dpi-frame.png"
echo "screenshot written to $out-$dpi-frame.png"

# "select a config..." (in the upper frame), then the config window's OK.
click_control "$probe" "$title" SelectConfigButton
configs=$(timeout 30 xdotool search --sync --onlyvisible --name "^Select your config to launch$" | head -1)
sleep 1
capture_windows "$out-$dpi-configs.png" "$main" "$configs"
click_control "$probe" "Select your config to launch" ConfigOkButton
sleep 1

# PlayDemo: the demo is copied into cstrike under the wait window, which is shot once it is up.
started=$(date +%s.%N)
click_control "$probe" "$title" PlayDemoButton
wait_window=$(timeout 30 bash -c "$(declare -f find_wait_window); dpi=$dpi; until find_wait_window; do sleep 0.1; done")
sleep 1
capture_windows "$out-$dpi-wait.png" "$main" "$wait_window"
# A close during the copy asks whether to stop; No lets the launch go on.
xdotool key alt+F4  # the main window has the focus: the wait window never takes it
question=$(timeout 30 xdotool search --sync --onlyvisible --name "^Vorelix$" | head -1)
sleep 1
capture_windows "$out-$dpi-close.png" "$main" "$wait_window" "$question"
xdotool key n
timeout 120 bash -c "until [ -f '$work/Half-Life/standin-record.txt' ]; do sleep 0.1; done"
echo "PlayDemo to game started: $(awk "BEGIN{print $(date +%s.%N) - $started}") s for $(du -k --apparent-size \
  "$work/Half-Life/cstrike/vorelix.dem" | cut -f1) KiB"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
INNER
