#!/usr/bin/env bash
# Times vorelix-cli on a folder of 2,000 real demos: `events --json` on all of them in one run,
# beside `info --json` on the same files, with each run's peak memory.
# Usage: scripts/tools/bench-events-folder.sh [VORELIX_CLI] [COUNT]
#   VORELIX_CLI  default build/release/src/cli/vorelix-cli (this script builds nothing)
#   COUNT        demos in the folder (default 2000): the real recordings of ../shared/demos and its
#                more/ folder, copied round by round under new names
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=$(realpath "${1:-build/release/src/cli/vorelix-cli}")
count=${2:-2000}
[ -x "$cli" ] || { echo "bench-events-folder.sh: no vorelix-cli at $cli (build it first)" >&2; exit 2; }
demos="$here/../../../shared/demos"
[ -d "$demos" ] || { echo "bench-events-folder.sh: the real demos ($demos) are absent" >&2; exit 2; }
command -v /usr/bin/time >/dev/null || { echo "bench-events-folder.sh: /usr/bin/time is missing (apt-get install time)" >&2; exit 2; }

folder=$(mktemp -d /tmp/vorelix-events-bench.XXXXXX)
trap 'rm -rf "$folder"' EXIT
sources=("$demos"/*.dem "$demos"/more/*.dem)
for ((i = 0; i < count; i++)); do
  cp "${sources[i % ${#sources[@]}]}" "$folder/$(printf '%05d' "$i").dem"
done
bytes=$(du -sb "$folder" | cut -f1)
echo "$count demos, $((bytes / 1000000)) MB, in $folder"
# A first pass reads the files into the page cache, so both runs measure the work, not the disk.
cat "$folder"/*.dem >/dev/null

run() {
  local label=$1
  shift
  local start end
  start=$(date +%s.%N)
  # The demos that are not whole (another protocol, a demo cut short) make the command exit 1.
  /usr/bin/time -f "%M" -o "$folder/rss" "$cli" "$@" "$folder"/*.dem >"$folder/out.json" || true
  end=$(date +%s.%N)
  python3 -c "import json,sys; json.load(open(sys.argv[1]))" "$folder/out.json" ||
    { echo "$label: the output is not one JSON document" >&2; exit 1; }
  printf '%-14s %6.2f s  %7.1f MB/s  peak %6.1f MB  output %5.1f MB\n' "$label" \
    "$(echo "$end - $start" | bc)" "$(echo "$bytes / 1000000 / ($end - $start)" | bc -l)" \
    "$(echo "$(tail -n 1 "$folder/rss") / 1024" | bc -l)" "$(echo "$(stat -c %s "$folder/out.json") / 1000000" | bc -l)"
}
run "info --json" info --json
run "events --json" events --json
