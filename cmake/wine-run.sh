#!/bin/sh
# Runs a Windows program under Wine: the emulator of the Windows toolchain,
# for the build and the tests. The prefix is $WINEPREFIX (the windows
# preset gives the build one of its own).
#
#   wine-run.sh PROGRAM [ARG...]   run PROGRAM
#   wine-run.sh --warm             make the prefix and start its server
#   wine-run.sh --stop             stop the prefix's server and every Wine
#                                  process of the prefix
#
# Before running anything it makes sure the prefix exists and its server is
# running with its standard streams on /dev/null: a server or Wine system
# process started on the way would otherwise inherit the caller's output
# pipe and hold it open (ctest would wait for it). The server ends two
# minutes after the last program of the prefix, or at --stop.
set -eu

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=$(command -v wineserver)
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer prompts while the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
prefix="${WINEPREFIX:-$HOME/.wine}"

if [ "${1:-}" = "--stop" ]; then
  [ -d "$prefix" ] || exit 0
  "$server" -k </dev/null >/dev/null 2>&1 || true
  "$server" -w </dev/null >/dev/null 2>&1 || true
  exit 0
fi

mkdir -p "$prefix"
(
  # One caller at a time makes the prefix; the others wait for it. Nothing
  # started here keeps the lock.
  flock 9
  if [ ! -f "$prefix/system.reg" ]; then
    "$wine" wineboot --init </dev/null >/dev/null 2>&1 9>&-
  fi
  # Exit status 2: the server is running already. Otherwise a new one has
  # started, and the first program of a server starts the Wine system
  # processes (services, devices, desktop), which take that program's
  # standard streams: this first program is one with /dev/null for them.
  status=0
  "$server" -p120 </dev/null >/dev/null 2>&1 9>&- || status=$?
  if [ "$status" -ne 2 ]; then
    "$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$prefix/.lock"

[ "${1:-}" = "--warm" ] && exit 0
exec "$wine" "$@"
