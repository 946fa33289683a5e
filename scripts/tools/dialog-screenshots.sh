#!/usr/bin/env bash
# Shows the harmless standard dialogs of the dialog wrapper under Xvfb and Wine and writes a PNG of each.
# Usage: scripts/tools/dialog-screenshots.sh [BUILD_DIR] [OUT_DIR]
#   BUILD_DIR  a Windows build with common_dialog_test and wine_keeper built (default build/win)
#   OUT_DIR    where open.png, color.png, font.png, folder.png and about.png go (default dialog-shots)
# The dialogs are the ones the Wine smoke tests open; VORELIX_DIALOG_HOLD_MS keeps each one up.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-build/win}")
out=$(realpath -m "${2:-dialog-shots}")
exe="$build/tests/platform/common_dialog_test.exe"
keeper="$build/tests/support/wine_keeper.exe"
for file in "$exe" "$keeper"; do
  [ -f "$file" ] || { echo "dialog-screenshots.sh: $file is not built" >&2; exit 2; }
done
for tool in xvfb-run xdotool xwd convert wine; do
  command -v "$tool" >/dev/null || { echo "dialog-screenshots.sh: $tool is missing" >&2; exit 2; }
done
export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
mkdir -p "$out"

xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$here" "$exe" "$out" "$keeper" <<'INNER'
set -uo pipefail
here=$1 exe=$2 out=$3 keeper=$4
"$here/../support/wine-prefix.sh" start "$keeper" || exit 1
VORELIX_DIALOG_HOLD_MS=3000 wine "$exe" --gtest_filter='CommonDialogOnWine.*' >"$out/tests.log" 2>&1 </dev/null &
tests=$!
missing=0
# Waits for a window whose title matches, lets it paint, and writes the screen trimmed to it.
shot() {
  if timeout 30 xdotool search --sync --onlyvisible --name "$2" >/dev/null; then
    sleep 1
    xwd -root -silent -display "$DISPLAY" | convert xwd:- -trim +repage "$out/$1.png"
    echo "$out/$1.png"
  else
    echo "dialog-screenshots.sh: no window titled '$2' appeared" >&2
    missing=1
  fi
}
# In the order the smoke tests open them.
shot open '^Please choose hl\.exe$'
shot color '^Colou?r$'
shot font '^Font$'
shot folder '^Browse for Folder$'
shot about '^About Vorelix$'
wait "$tests"
status=$?
"$here/../support/wine-prefix.sh" stop
[ "$status" -eq 0 ] || echo "dialog-screenshots.sh: the smoke tests failed, see $out/tests.log" >&2
exit $((status | missing))
INNER
