#!/usr/bin/env bash
# vorelix-cli.exe under Wine makes a backup copy on a disk that fills up (a file size limit makes
# every write past 1 MB fail, as a full disk does): the command fails with the system's text, no
# backup copy is left under any name, and the demo is as it was.
# Usage: full-disk-backup.sh VORELIX_CLI_EXE
set -uo pipefail
cli=${1:?usage: full-disk-backup.sh VORELIX_CLI_EXE}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
demo="$work/match.dem"
head -c $((3 << 20)) /dev/zero >"$demo"
printf 'HLDEMO' | dd of="$demo" conv=notrunc status=none
printf '\\name\\Bob\\model\\gign\\' | dd of="$demo" bs=1 seek=2000 conv=notrunc status=none
cp "$demo" "$work/before"
# Ignored, the signal of the size limit turns into the failed write a full disk gives.
(trap '' XFSZ; exec prlimit --fsize=$((1 << 20)) wine "$cli" set-nick --backup "Z:${demo//\//\\}" --from Bob --to Ann) \
  >"$work/out" 2>"$work/err"
status=$?
fail() { echo "FAILED: $*"; echo "stdout:"; cat "$work/out"; echo "stderr:"; cat "$work/err"; ls -la "$work"; exit 1; }
[ "$status" -ne 0 ] || fail "the command succeeded"
grep -q "no free name" "$work/err" && fail "a full disk was taken for taken names"
cmp -s "$demo" "$work/before" || fail "the demo changed"
left=$(find "$work" -name 'match.dem.*' | wc -l)
[ "$left" -eq 0 ] || fail "$left files were left beside the demo"
echo "refused as it should be: $(cat "$work/err")"
