#!/usr/bin/env bash
# Screenshots of "Восстановить копию демки...": a demo cut right before its directory (as a crash leaves it) is
# selected in the main window, the demo list's menu is opened with a right click and the repair chosen
# from it; writes the menu and the report that follows as PNGs. Runs a built vorelix.exe under Xvfb and
# Wine in a temporary prefix and drives it with xdotool.
# Usage: scripts/tools/screenshot-repair.sh DEMO [VORELIX_EXE] [OUT_PREFIX]
#   DEMO         a whole demo with a directory (e.g. one of ../shared/demos); it is copied and cut
#   VORELIX_EXE  default build/win/src/app/vorelix.exe (this script builds nothing)
#   OUT_PREFIX   default repair: writes repair-menu.png and repair-report.png
set -euo pipefail
demo=$(realpath "${1:?usage: screenshot-repair.sh DEMO [VORELIX_EXE] [OUT_PREFIX]}")
exe=$(realpath "${2:-build/win/src/app/vorelix.exe}")
out=$(realpath -m "${3:-repair}")
[ -f "$exe" ] || { echo "screenshot-repair.sh: no program at $exe (build it first)" >&2; exit 2; }
source "$(dirname "$(realpath "$0")")/../support/shot-work.sh"
probe="$(dirname "$exe")/../../tests/support/test_probe.exe"
[ -f "$probe" ] || { echo "screenshot-repair.sh: no $probe (build the tests first)" >&2; exit 2; }
shot_work screenshot-repair.sh repair xvfb-run xdotool xwd convert wine

# The copy loses everything from its directory on: the header's directory offset (at byte 540).
mkdir -p "$work/demos"
cut="$work/demos/crashed_match.dem"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -s "$work" "$exe" "$out" "$cut" "$(dirname "$(realpath "$0")")/../support" "$probe" "$demo" <<'INNER'
set -euo pipefail
work=$1 exe=$2 out=$3 cut=$4 probe=$6
source "$5/x-capture.sh"
"$5/wine-prefix.sh" create
wine "$probe" demo cut "$(winepath -w "$cut")" "$(winepath -w "$7")" ||
  { echo "screenshot-repair.sh: the demo has no directory to cut at" >&2; exit 2; }
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1

cd "$work/demos"
wine "$exe" "$(winepath -w "$cut")" >/dev/null 2>&1 </dev/null &
program=$!
main=$(timeout 60 xdotool search --sync --onlyvisible --name "Vorelix v2.1b" | head -1)
sleep 1

# Windows of the program that came up after the main window (the menu, then the message box).
others() {
  xdotool search --onlyvisible --classname 'vorelix.exe' 2>/dev/null | grep -vx "$main" || true
}

# A right click on the selected demo, the list's first entry.
click_control "$probe" "Vorelix v2.1b [for CS 1.4-1.5]" DemoList 0 3
sleep 1
capture_windows "$out-menu.png" "$main" $(others)

# The menu's last item is "Восстановить копию демки...".
xdotool key Up Return
report=$(timeout 30 bash -c "until xdotool search --onlyvisible --name '^Vorelix\$' 2>/dev/null | head -1 | grep .; do sleep 0.2; done" || true)
sleep 1
capture_windows "$out-report.png" "$main" $(others)
ls "$work/demos"
kill "$program" 2>/dev/null || true
INNER
