#!/usr/bin/env bash
# Screenshots of the utilities window ("Useful utils") at one DPI: as it opens, and with its nick and
# chat lists loaded and a nick selected. Starts a built vorelix.exe under Xvfb and Wine on a demo, clicks
# "Useful utils" and the two Load buttons with xdotool, and writes two PNGs.
# Usage: scripts/tools/screenshot-utils.sh [VORELIX_EXE] [OUT_PREFIX] [DPI] [DEMO]
#   VORELIX_EXE  default build/win/src/app/vorelix.exe (this script builds nothing)
#   OUT_PREFIX   default utils: writes utils-DPI-initial.png and utils-DPI-loaded.png
#   DPI          default 96 (HKCU\Control Panel\Desktop\LogPixels of a temporary prefix)
#   DEMO         default: a small demo made here, with nicks (some Cyrillic) and chat lines
set -euo pipefail
exe=$(realpath "${1:-build/win/src/app/vorelix.exe}")
prefix_out=$(realpath -m "${2:-utils}")
dpi=${3:-96}
demo=${4:-}
[ -f "$exe" ] || { echo "screenshot-utils.sh: no program at $exe (build it first)" >&2; exit 2; }
source "$(dirname "$(realpath "$0")")/../support/shot-work.sh"
shot_work screenshot-utils.sh utils xvfb-run xdotool xwd convert wine

probe="$(dirname "$exe")/../../tests/support/test_probe.exe"
[ -f "$probe" ] || { echo "screenshot-utils.sh: no $probe (build the tests first)" >&2; exit 2; }
[ -z "$demo" ] || demo=$(realpath "$demo")

xvfb-run -a -s "-screen 0 1600x1200x24" bash -s "$exe" "$prefix_out" "$dpi" "$demo" "$(dirname "$(realpath "$0")")/../support" "$probe" "$work" <<'INNER'
set -euo pipefail
exe=$1 out=$2 dpi=$3 demo=$4 probe=$6
source "$5/x-capture.sh"
"$5/wine-prefix.sh" create
if [ -z "$demo" ]; then
  demo="$7/match.dem"
  wine "$probe" demo utils "$(winepath -w "$demo")"
fi
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1 || true
# Wine reads the DPI when its server starts.
wineserver -k; wineserver -w

wine "$exe" "$(winepath -w "$demo")" >/dev/null 2>&1 </dev/null &
program=$!
main=$(timeout 60 xdotool search --sync --onlyvisible --name "Vorelix v2.1b" | head -1)
sleep 1

title="Vorelix v2.1b [for CS 1.4-1.5]"
click_control "$probe" "$title" UtilsButton
sleep 0.5
utils=$(timeout 30 xdotool search --sync --onlyvisible --name "^Useful utils$" | head -1)
sleep 1
capture_windows "$out-$dpi-initial.png" "$utils"
# The nick editor's Load, the chat editor's Load, then the first nick.
click_control "$probe" "Useful utils" LoadNicksButton
sleep 0.5
click_control "$probe" "Useful utils" LoadChatButton
sleep 0.5
click_control "$probe" "Useful utils" NickList 0
sleep 1
capture_windows "$out-$dpi-loaded.png" "$utils"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
INNER
