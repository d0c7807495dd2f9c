#!/usr/bin/env bash
# Without a display the program says so in one line on standard error, ends
# with a failure code and writes nothing beside itself: with no display set,
# and with one that does not answer.
#
#   no_display_test.sh DUVEZ libduvez_win.so
set -uo pipefail

program=$1 winlib=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$winlib" "$work/"

check() {
  local what=$1
  shift
  local code=0
  (cd "$work" && env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" ./DUVEZ >"$work/out" 2>"$work/err") || code=$?
  if [ "$code" -eq 0 ]; then
    echo "$what: the program ended with exit code 0"
    return 1
  fi
  if [ "$(wc -l <"$work/err")" -ne 1 ] || ! grep -q display "$work/err"; then
    echo "$what: expected one line about the display on standard error, got:"
    cat "$work/err"
    return 1
  fi
  if [ -s "$work/out" ] || [ -e "$work/DUVEZ.ini" ]; then
    echo "$what: the program wrote something"
    return 1
  fi
  echo "$what: $(cat "$work/err") (exit code $code)"
}

check "no DISPLAY" -u DISPLAY && check "a display nobody serves" DISPLAY=:4999
