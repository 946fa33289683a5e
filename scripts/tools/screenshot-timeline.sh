#!/usr/bin/env bash
# Screenshots of the timeline window at one DPI: read to its end, and filtered by a typed text. Starts a
# built vorelix.exe under Xvfb and Wine on a demo, opens the demo list's menu with a right click and
# chooses its timeline item with the keyboard (the fourth item), types into the find box (Alt+F) with
# xdotool, and writes two PNGs.
# Usage: scripts/tools/screenshot-timeline.sh [VORELIX_EXE] [OUT_PREFIX] [DPI] [DEMO] [FIND]
#   VORELIX_EXE  default build/win/src/app/vorelix.exe (this script builds nothing)
#   OUT_PREFIX   default timeline: writes timeline-DPI-loaded.png and timeline-DPI-filtered.png
#   DPI          default 96 (HKCU\Control Panel\Desktop\LogPixels of a temporary prefix)
#   DEMO         default: uds_furion_psilent1.dem of the real recordings beside the project
#                (../shared/demos/more), which holds kills and round ends
#   FIND         the text typed into the find box, default "headshot"
set -euo pipefail
exe=$(realpath "${1:-build/win/src/app/vorelix.exe}")
prefix_out=$(realpath -m "${2:-timeline}")
dpi=${3:-96}
demo=${4:-$(dirname "$(realpath "$0")")/../../../shared/demos/more/uds_furion_psilent1.dem}
find_text=${5:-headshot}
[ -f "$exe" ] || { echo "screenshot-timeline.sh: no program at $exe (build it first)" >&2; exit 2; }
[ -f "$demo" ] || { echo "screenshot-timeline.sh: no demo at $demo (give one)" >&2; exit 2; }
demo=$(realpath "$demo")
source "$(dirname "$(realpath "$0")")/../support/shot-work.sh"
shot_work screenshot-timeline.sh timeline xvfb-run xdotool xwd convert wine

probe="$(dirname "$exe")/../../tests/support/test_probe.exe"
[ -f "$probe" ] || { echo "screenshot-timeline.sh: no $probe (build the tests first)" >&2; exit 2; }

xvfb-run -a -s "-screen 0 1600x1200x24" bash -s "$exe" "$prefix_out" "$dpi" "$demo" "$(dirname "$(realpath "$0")")/../support" "$probe" "$find_text" <<'INNER'
set -euo pipefail
exe=$1 out=$2 dpi=$3 demo=$4 probe=$6 find_text=$7
source "$5/x-capture.sh"
"$5/wine-prefix.sh" create
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1 || true
# Wine reads the DPI when its server starts.
wineserver -k; wineserver -w

wine "$exe" "$(winepath -w "$demo")" >/dev/null 2>&1 </dev/null &
program=$!
timeout 60 xdotool search --sync --onlyvisible --name "Vorelix v2.1b" >/dev/null
sleep 1

# The menu acts on the selected demo: the one the program was started on.
click_control "$probe" "Vorelix v2.1b [for CS 1.4-1.5]" DemoList 0 3
sleep 0.5
xdotool key Down Down Down Down Return
timeline=$(timeout 30 xdotool search --sync --onlyvisible --name "^Timeline: " | head -1)
sleep 3
capture_windows "$out-$dpi-loaded.png" "$timeline"
xdotool key alt+f
xdotool type --delay 50 "$find_text"
sleep 1
capture_windows "$out-$dpi-filtered.png" "$timeline"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
INNER
