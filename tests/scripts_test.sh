#!/usr/bin/env bash
# The two commands as a newcomer meets them, on a clean copy of the sources, with a Wine prefix
# of the caller's own that they must never touch: scripts/test stopped by a bad argument and by
# Ctrl+C in its build; scripts/run with no display saving a picture of the painted window, then
# stopped by Ctrl+C with its window coming up and again while it sets up a new prefix. After
# each: the caller's prefix as it was, no Xvfb, no Wine process and no temporary file of the
# run's left, and what the run printed in the caller's language.
# Usage: scripts_test.sh SOURCE_DIR
set -uo pipefail
# Job control: each run in a process group of its own, which Ctrl+C reaches as a terminal sends
# it (a background job of a script without it would ignore Ctrl+C).
set -m
source=$1
for tool in flock Xvfb wineserver convert; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: needs $tool"; exit 0; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
copy=$work/copy home=$work/home temporary=$work/tmp caller=$work/caller-prefix
mkdir -p "$copy" "$home" "$temporary" "$caller"
tar -C "$source" --exclude=./.git --exclude=./build --exclude='./build-*' -cf - . |
  tar -C "$copy" -xf -
echo 'WINE REGISTRY Version 2' >"$caller/system.reg"  # the caller's own prefix
failures=0 failed_before=0
check() {  # what, then a command that holds when all is well
  local what=$1
  shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# A run as a newcomer starts it: an English locale, no display, the caller's prefix set.
run() {  # log script [VAR=value...]
  local log=$1 script=$2
  shift 2
  env -i PATH="$PATH" HOME="$home" TMPDIR="$temporary" LANG=C.UTF-8 WINEPREFIX="$caller" "$@" \
    bash "$copy/scripts/$script" >"$log" 2>&1 &
  pid=$!  # env runs the script in place: its process group has the script's id
}
finished() {  # -> the run's exit code, waiting at most $1 seconds
  local _
  for _ in $(seq 1 "$((${1} * 10))"); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  wait "$pid"
}
interrupt_when() {  # seconds pattern: Ctrl+C once the log says it, as a terminal sends it
  local _
  for _ in $(seq 1 "$((${1} * 10))"); do
    grep -q "$2" "$log" && break
    sleep 0.1
  done
  grep -q "$2" "$log" || echo "     (never said \"$2\"; interrupted all the same)"
  kill -INT -- "-$pid"
}

xvfbs() { pgrep -x Xvfb | sort | tr '\n' ' '; }
in_prefix() {  # the processes that Wine runs in the prefix $1
  grep -lz "^WINEPREFIX=$1\$" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3
}
nothing_left() {  # prefix...: true once no process of theirs, and no Xvfb of the run, is left
  local _ prefix busy
  for _ in $(seq 1 150); do
    busy=
    for prefix in "$@"; do [ -z "$(in_prefix "$prefix")" ] || busy=1; done
    [ -z "$busy" ] && [ "$(xvfbs)" = "$before" ] && return 0
    sleep 0.1
  done
  for prefix in "$@"; do in_prefix "$prefix"; done | xargs -r ps -o pid=,args= -p | sed 's/^/     /'
  echo "     Xvfb before: $before; now: $(xvfbs)"
  return 1
}
untouched() {
  [ -e "$caller/system.reg" ] && [ -z "$(ls -A "$temporary")" ] && return 0
  ls -lA "$caller" "$temporary" | sed 's/^/     /'
  return 1
}
english() { ! LC_ALL=C grep -qP '[\x80-\xFF]|setlocale' "$log"; }
after() {  # what, prefixes the run may have started Wine in
  local what=$1
  shift
  [ "$failures" -eq "$failed_before" ] || sed 's/^/     | /' "$log"
  failed_before=$failures
  check "$what: the caller's prefix kept, no temporary file left" untouched
  check "$what: no Xvfb and no Wine process left" nothing_left "$caller" "$@"
}

before=$(xvfbs)
log=$work/bad-argument.log
run "$log" test PLINDAR_TEST_ARCH=bogus
finished 60
check "scripts/test with a bad argument exits 2, naming it" \
  test "$?" = 2 -a -n "$(grep -l "PLINDAR_TEST_ARCH is 32, 64 or both, not 'bogus'" "$log")"
after "scripts/test with a bad argument"

log=$work/test-interrupted.log
run "$log" test
interrupt_when 120 'Building'
finished 60
check "scripts/test interrupted in its build exits 130" test "$?" = 130
after "scripts/test interrupted"

kept=$home/.cache/plindar/wine-prefix-
log=$work/headless.log
run "$log" run
finished 540
status=$?
shot=$(sed -n 's/^\[plindar\] saved \(.*\) (.*colours)$/\1/p' "$log")
check "scripts/run with no display exits 0 and says where the picture is" \
  test "$status" = 0 -a -n "$shot"
check "the picture is where it says, of a painted window" \
  test -n "$shot" -a "$(convert "$shot" -format '%k' info: 2>/dev/null || echo 0)" -ge 16
check "scripts/run prints in the caller's language" english
after "scripts/run with no display" "${kept}32" "${kept}64"
[ "$status" = 0 ] || tail -n 20 "$log" | sed 's/^/     /'

log=$work/run-interrupted.log
run "$log" run
interrupt_when 120 'waiting for its window'
finished 60
check "scripts/run interrupted with its window coming up exits 130" test "$?" = 130
after "scripts/run interrupted" "${kept}32" "${kept}64"

new=$home/new-prefix
log=$work/setup-interrupted.log
run "$log" run PLINDAR_RUN_PREFIX="$new"
interrupt_when 120 'setting up the Wine prefix'
sleep 2  # Wine at work in it
finished 60
check "scripts/run interrupted in a prefix's set-up exits 130, the half-made prefix removed" \
  test "$?" = 130 -a ! -e "$new"
after "scripts/run interrupted in a set-up" "$new"

[ "$failures" -eq 0 ]
