#!/usr/bin/env bash
# Records what a vorelix-cli build prints and writes for every command and option, so two builds can
# be compared byte for byte:
#   scripts/tools/cli-snapshot.sh OLD_CLI /tmp/before && scripts/tools/cli-snapshot.sh NEW_CLI /tmp/after
#   diff -r /tmp/before /tmp/after
# Each case is one file: the arguments, standard output, standard error, the exit status, and the
# SHA-256 of every file in the work folder (editing commands run on copies, never on the real demos).
# Backup names carry the time of day; it is replaced by HH-MM-SS so runs at other times compare.
set -uo pipefail
cli=$(realpath "${1:?usage: cli-snapshot.sh CLI OUT_DIR [DEMOS_DIR]}")
out=${2:?usage: cli-snapshot.sh CLI OUT_DIR [DEMOS_DIR]}
demos=$(realpath "${3:-$(dirname "$0")/../../../shared/demos}")
work=/tmp/vorelix-cli-snapshot  # fixed, since outputs name files by their path
rm -rf "$out" && mkdir -p "$out"
out=$(realpath "$out")
count=0
editing=0
cut=0

# The hex of a backup name that is not UTF-8 ("backup_hex") carries the time too.
stamp() {
  sed -E -e 's/\.[0-9]{2}-[0-9]{2}-[0-9]{2}(-[0-9]+)?\.bak/.HH-MM-SS\1.bak/g' \
    -e 's/2e(3[0-9]){2}2d(3[0-9]){2}2d(3[0-9]){2}((2d(3[0-9])+)?2e62616b)/2e48482d4d4d2d5353\4/g'
}

# A demo of LENGTH bytes: "HLDEMO", map and mod in their windows, NULs elsewhere; then the given
# OFFSET BYTES pairs (printf escapes) written over it.
synthetic() {
  local file=$1 length=$2
  shift 2
  head -c "$length" /dev/zero >"$file"
  put "$file" 0 'HLDEMO' 16 'de_dust2' 276 'cstrike' "$@"
}
put() {
  local file=$1
  shift
  while [ $# -ge 2 ]; do
    printf "$2" | dd of="$file" bs=1 seek="$1" conv=notrunc status=none
    shift 2
  done
}

# Fresh odd files in $work, and real/: the real demos themselves, or copies of those named in the
# arguments when an editing command runs.
fresh_copies() {
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work" && mkdir -p "$work"
  cd "$work" || exit 1
  if [ "$editing" = 1 ]; then
    mkdir real
    for arg in "$@"; do
      case $arg in real/*) cp "$demos/${arg#real/}" real/ && chmod u+w "$arg" ;; esac
    done
  else
    ln -s "$demos" real
  fi
  synthetic sample.dem 2000 600 '\\name\\Ann\\' 700 '\\name\\Longname\\' 800 '\\name\\Ann\0' \
    900 '\2Ann :   hello\n' 1000 '\2Bob :   bye all\n' 1100 '\2Eve :   a\nb :   more\n' \
    1200 '\x17\x1d\x01\0\7\7\7\7\7\7\7\7\7\7\7\7\7\7\7\7\7\7gg\nwp\0' \
    1300 '\\name\\Ctl\x7f\x08\x0c\x01"q\\' 1400 '\2x :   tab\there\x7f\n'
  synthetic cp1251.dem 2000 600 '\\name\\\xc2\xe0\xf1\xff\\' 700 '\2\xc2\xe0\xf1\xff :   \xcf\xf0\xe8\xe2\xe5\xf2\n'
  synthetic utf8.dem 2000 600 '\\name\\\xd0\x9f\xd0\xa4\xd0\xab\xd0\x92\\' \
    700 '\2\xd0\x92\xd0\xb0\xd1\x81\xd1\x8f :   \xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\n'
  synthetic short.dem 405
  synthetic tiny.dem 999
  : >empty.dem
  mkdir folder.dem
  head -c 1500 /dev/zero >notademo.txt && put notademo.txt 0 'text \x17\x1d\x01\0 more text' 1100 '\x17\x1d\x01\0'
  head -c 1500 /dev/zero >autoexec.cfg && put autoexec.cfg 0 'name Player\n' 1200 '\\name\\Player\\'
  cp sample.dem readonly.dem && chmod a-w readonly.dem
  cp sample.dem "$(printf 'odd\xff.dem')"
  cp cp1251.dem 'Привет.dem'
  # Cut copies of a real demo for check and repair, only in the cases that use them.
  if [ "$cut" = 1 ]; then
    head -c 90000 "$demos/uds_single2.dem" >cut.dem
    head -c 600 "$demos/uds_single2.dem" >header-only.dem
  fi
}

# run NAME ARGS...: runs the CLI in $work on fresh copies and records everything.
run() {
  local name=$1
  shift
  count=$((count + 1))
  local file
  file=$(printf '%s/%03d-%s' "$out" "$count" "$name")
  fresh_copies "$@"
  "$cli" "$@" >"$work.out" 2>"$work.err" </dev/null
  local status=$?
  {
    printf 'args:'
    printf ' [%s]' "$@"
    printf '\n--- stdout\n'
    stamp <"$work.out"
    printf -- '--- stderr\n'
    stamp <"$work.err"
    printf -- '--- status %s\n--- files\n' "$status"
    find . -type f -print0 | sort -z | xargs -0 sha256sum | stamp
  } >"$file"
}

real=()
for f in "$demos"/*.dem; do real+=("real/$(basename "$f")"); done
synthetic_files=(sample.dem cp1251.dem utf8.dem short.dem tiny.dem empty.dem folder.dem notademo.txt
  autoexec.cfg missing.dem "$(printf 'odd\xff.dem')" 'Привет.dem')

# Help and usage errors.
run help --help
run help-short -h
run help-after-command info --help
run help-then-error --help --verbose
run error-then-help --verbose --help
run help-bad-codepage --help --codepage 866
run bad-codepage-help --codepage 866 --help
run nothing
run json-only --json
run unknown-command frobnicate sample.dem
run unknown-option --verbose info sample.dem
run unknown-short -x info sample.dem
run negative info -5
run dash-alone info -
run codepage-missing info sample.dem --codepage
run from-missing set-nick sample.dem --to x --from
run codepage-866 --codepage 866 info sample.dem
run codepage-empty --codepage '' info sample.dem
run codepage-twice --codepage 1251 --codepage 1252 nicks cp1251.dem
run codepage-bad-then-unknown --codepage 12 --verbose info sample.dem
run unknown-then-bad-codepage --verbose --codepage 12 info sample.dem
run unknown-then-missing --verbose info sample.dem --to
for page in 1251 1252 utf8 utf-8 65001 UTF8; do run "codepage-$page" --codepage "$page" nicks cp1251.dem; done
run info-none info
run players-two players sample.dem cp1251.dem
run nicks-none nicks
run chat-two chat sample.dem sample.dem
run set-nick-none set-nick --from a --to b
run set-nick-two set-nick sample.dem utf8.dem --from a --to b
run set-nick-no-from set-nick sample.dem --to b
run set-nick-no-to set-nick sample.dem --from a
run edit-chat-two edit-chat sample.dem 902
run edit-chat-four edit-chat sample.dem 902 a b
run delete-chat-none delete-chat
run strip-none strip-statsme
run from-on-nicks nicks sample.dem --from Ann
run at-on-info info sample.dem --at 3
run at-zero set-nick sample.dem --from Ann --to B --at 0
run at-text set-nick sample.dem --from Ann --to B --at 1x
run at-huge set-nick sample.dem --from Ann --to B --at 99999999999999999999
run at-empty set-nick sample.dem --from Ann --to B --at ''
run at-negative set-nick sample.dem --from Ann --to B --at -1
run backup-on-info info sample.dem --backup
run backup-on-chat --backup chat sample.dem
run backup-and-arity --backup info
run wrong-arity-and-from players a b --from x
run double-dash edit-chat sample.dem 902 -- '-text'
run double-dash-twice -- chat -- sample.dem
run double-dash-json chat sample.dem -- --json
run options-everywhere --json edit-chat sample.dem --backup 902 'Ann :   yo'
run from-twice set-nick sample.dem --from x --from Ann --to B
run flag-twice --json --json chat sample.dem
run value-like-option set-nick sample.dem --from Ann --to --json
run value-equals --codepage=1251 nicks cp1251.dem
run flag-equals --json=true chat sample.dem

# Reading commands on every real and odd file, as text and JSON, in every code page.
for f in "${real[@]}" "${synthetic_files[@]}"; do
  n=$(basename "$f")
  for cmd in info players nicks chat; do
    run "$cmd-$n" "$cmd" "$f"
    run "$cmd-json-$n" "$cmd" "$f" --json
  done
  for page in 1251 utf8; do
    run "info-$page-$n" --codepage "$page" info "$f"
    run "nicks-json-$page-$n" --codepage "$page" --json nicks "$f"
    run "chat-$page-$n" --codepage "$page" chat "$f"
  done
done
run info-all info "${real[@]}" "${synthetic_files[@]}"
run info-all-json --json info "${real[@]}" "${synthetic_files[@]}"
run info-absolute info "$work/sample.dem"

# Editing commands on copies.
editing=1
for f in "${real[@]}"; do
  n=$(basename "$f")
  first=$("$cli" --codepage 1251 nicks "$demos/$n" 2>/dev/null | head -n 1)
  pos=${first%%$'\t'*}
  nick=${first#*$'\t'}
  run "set-nick-$n" --codepage 1251 set-nick "$f" --from "$nick" --to x
  run "set-nick-utf8-$n" --codepage utf8 --json set-nick "$f" --from "$nick" --to "Ы"
  run "set-nick-at-$n" --json set-nick "$f" --from "$nick" --to y --at "$pos" --backup
  run "set-nick-long-$n" set-nick "$f" --from "$nick" --to "a much longer nick than any demo holds"
  run "set-nick-unknown-$n" set-nick "$f" --from "nobody at all" --to z
  run "edit-chat-$n" edit-chat "$f" 902 text
  run "delete-chat-$n" --json delete-chat "$f" 902
  run "strip-$n" strip-statsme "$f"
done
run strip-all strip-statsme "${real[@]}" "${synthetic_files[@]}"
run strip-all-json-backup --json --backup strip-statsme "${real[@]}" "${synthetic_files[@]}"
run strip-readonly strip-statsme readonly.dem --backup
run strip-twice strip-statsme sample.dem sample.dem
for f in "${synthetic_files[@]}" readonly.dem; do
  n=$(basename "$f")
  run "set-nick-$n" set-nick "$f" --from Ann --to Al
  run "set-nick-json-backup-$n" --json --backup set-nick "$f" --from Ann --to Al
  run "edit-chat-$n" edit-chat "$f" 902 'Ann :   hi'
  run "edit-chat-json-$n" --json edit-chat "$f" 902 'Ann :   hi' --backup
  run "delete-chat-$n" delete-chat "$f" 902 1002
  run "delete-chat-json-$n" --json --backup delete-chat "$f" 902
  run "strip-json-$n" --json strip-statsme "$f"
done
run set-nick-at-one set-nick sample.dem --from Ann --to Z --at 807
run set-nick-at-wrong set-nick sample.dem --from Ann --to Z --at 707
run set-nick-at-none set-nick sample.dem --from Ann --to Z --at 808
run set-nick-empty-to set-nick sample.dem --from Longname --to ''
run set-nick-empty-from set-nick sample.dem --from '' --to x
run set-nick-too-long set-nick sample.dem --from Ann --to Annabel
run set-nick-cyrillic-1252 set-nick sample.dem --from Ann --to 'Аня'
run set-nick-cyrillic-1251 --codepage 1251 set-nick cp1251.dem --from 'Вася' --to 'Пётр'
run set-nick-utf8-from set-nick utf8.dem --from 'ПФЫВ' --to x
run set-nick-utf8-both --codepage utf8 set-nick utf8.dem --from 'ПФЫВ' --to 'Ы'
run set-nick-backslash set-nick sample.dem --from Longname --to 'a\b'
run set-nick-invalid-utf8 set-nick sample.dem --from Ann --to "$(printf '\xff')"
run set-nick-control set-nick sample.dem --from Ann --to "$(printf 'a\nb')"
run edit-chat-same edit-chat sample.dem 902 'Ann :   hello'
run edit-chat-empty --json edit-chat sample.dem 902 ''
run edit-chat-long edit-chat sample.dem 1002 'Bob :   this is far too long'
run edit-chat-bad-pos edit-chat sample.dem 903 x
run edit-chat-pos-zero edit-chat sample.dem 0 x
run edit-chat-pos-text edit-chat sample.dem x x
run edit-chat-spanning edit-chat sample.dem 1102 'Eve :   replaced all of it'
run edit-chat-controls edit-chat sample.dem 902 "$(printf 'a\n\2b :   c')"
run edit-chat-utf8-cut --codepage utf8 edit-chat sample.dem 902 'Привет всем'
run edit-chat-1251 --codepage 1251 edit-chat cp1251.dem 702 'Вася :   Пока'
run delete-chat-bad-pos delete-chat sample.dem 902 x
run delete-chat-missing-pos delete-chat sample.dem 902 903
run delete-chat-repeated --json delete-chat sample.dem 902 902 1002
run delete-chat-spanning delete-chat sample.dem 1102
run backup-set-nick --backup set-nick sample.dem --from Ann --to B
run backup-edit-chat --backup edit-chat sample.dem 902 x
run backup-delete-chat --backup delete-chat sample.dem 902
run backup-strip --backup strip-statsme sample.dem
run backup-nothing-to-strip --backup strip-statsme short.dem
run absolute-paths --json set-nick "$work/sample.dem" --from Ann --to B --backup

# check and repair, after the other cases so that those keep their numbers.
editing=0
run check-all check "${real[@]}" "${synthetic_files[@]}"
run check-all-json --json check "${real[@]}" "${synthetic_files[@]}"
editing=1
for f in "${real[@]}" "${synthetic_files[@]}"; do run "repair-$(basename "$f")" repair "$f"; done
cut=1
run check-cut check cut.dem header-only.dem
run check-cut-json --json check cut.dem header-only.dem
run repair-cut repair cut.dem
run repair-cut-json --json repair cut.dem --output out.dem
run repair-cut-taken repair cut.dem --output sample.dem
run repair-cut-onto-itself repair cut.dem --output cut.dem
run repair-cut-no-folder repair cut.dem --output no/such/out.dem
run repair-header-only --json repair header-only.dem
run repair-two repair cut.dem sample.dem
run output-on-check check cut.dem --output x.dem
run output-empty repair cut.dem --output ''

chmod -R u+w "$work" 2>/dev/null
rm -rf "$work" "$work.out" "$work.err"
echo "$count cases recorded in $out"
