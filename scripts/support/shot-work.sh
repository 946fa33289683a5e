# Set-up shared by the screenshot scripts that run the program in a throwaway Wine prefix; sourced.
# shot_work SCRIPT KIND TOOL...
#   stops with SCRIPT's name when a TOOL is missing; makes $work (/tmp/vorelix-KIND-shot.XXXXXX) with
#   the Wine prefix in it, and stops that prefix's server and removes the folder when the script exits.
shot_work() {
  local script=$1 kind=$2 tool
  shift 2
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$script: $tool is missing" >&2; exit 2; }
  done
  work=$(mktemp -d "/tmp/vorelix-$kind-shot.XXXXXX")
  export WINEPREFIX="$work/prefix" WINEDEBUG=-all
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
}
