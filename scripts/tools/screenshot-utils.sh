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
shot_work screenshot-utils.sh utils xvfb-run xdotool xwd convert wine python3

if [ -z "$demo" ]; then
  demo="$work/match.dem"
  python3 - "$demo" <<'PY'
import sys
demo = bytearray(60000)
def put(at, data): demo[at:at + len(data)] = data
put(0, b"HLDEMO"); put(16, b"de_dust2"); put(276, b"cstrike")
nicks = ["Bob", "Alice", "\u0412\u0430\u0441\u044f".encode(), "Bob", "xXx_Sniper_xXx", "Alice", "Bob"]
for k, nick in enumerate(nicks):
    put(2000 + 700 * k, b"\\name\\" + (nick if isinstance(nick, bytes) else nick.encode()) + b"\\model\\gign\\")
lines = ["Bob :   gg", "Alice :   nice shot!", "\u0412\u0430\u0441\u044f :   \u043f\u0440\u0438\u0432\u0435\u0442 \u0432\u0441\u0435\u043c",
         "Bob :   rush b", "xXx_Sniper_xXx :   lol"]
for k, line in enumerate(lines):
    put(20000 + 500 * k, b"\x02" + line.encode() + b"\n")
open(sys.argv[1], "wb").write(demo)
PY
fi
demo=$(realpath "$demo")

xvfb-run -a -s "-screen 0 1600x1200x24" bash -s "$exe" "$prefix_out" "$dpi" "$demo" "$(dirname "$(realpath "$0")")/../support" <<'INNER'
set -euo pipefail
exe=$1 out=$2 dpi=$3 demo=$4
source "$5/x-capture.sh"
"$5/wine-prefix.sh" create
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Vorelix\main' /v firstrun /d 0 /f >/dev/null 2>&1 || true
# Wine reads the DPI when its server starts.
wineserver -k; wineserver -w

wine "$exe" "$(winepath -w "$demo")" >/dev/null 2>&1 </dev/null &
program=$!
main=$(timeout 60 xdotool search --sync --onlyvisible --name "Vorelix v2.1b" | head -1)
sleep 1

# "Useful utils" in the main window (client 7620 x 7815 twips).
click_twips "$main" 7620 7815 4155 6907
sleep 0.5
utils=$(timeout 30 xdotool search --sync --onlyvisible --name "^Useful utils$" | head -1)
sleep 1
capture_windows "$out-$dpi-initial.png" "$utils"
# The nick editor's Load, the chat editor's Load, then the first nick (client 10245 x 5355 twips).
click_twips "$utils" 10245 5355 3420 2737
sleep 0.5
click_twips "$utils" 10245 5355 5310 4837
sleep 0.5
click_twips "$utils" 10245 5355 600 2620
sleep 0.5
sleep 0.5
capture_windows "$out-$dpi-loaded.png" "$utils"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
INNER
