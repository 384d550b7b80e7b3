#!/usr/bin/env bash
# The real program in its own X server: a window moved and closed opens at
# the same place on the next start, and the settings file holds the place.
# Usage: placement.sh PATH_TO_DUDOVUVOV
set -euo pipefail
app=$1

tmp=$(mktemp -d "${TMPDIR:-/tmp}/dudovuvov-e2e.XXXXXX")
app_pid=""
xvfb_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$tmp/app.log" ] && sed 's/^/  program: /' "$tmp/app.log" >&2
  exit 1
}

# Polls a command until it succeeds, up to 30 seconds (a loaded machine is slow).
poll() {
  local end=$((SECONDS + 30))
  until "$@"; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.05
  done
}

# Private home, settings, runtime folder and display.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp/runtime
export XDG_DATA_HOME=$tmp/data XDG_CACHE_HOME=$tmp/cache QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# A random display far from the low numbers other servers scan; the
# server's lock file must name our process, so the display is ours alone.
ours() { [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ] && DISPLAY=:$n xdpyinfo >/dev/null 2>&1; }
for _ in 1 2 3 4 5 6 7 8 9 10; do
  n=$((1000 + RANDOM % 8000))
  [ -e "/tmp/.X$n-lock" ] && continue
  # -noreset: a server resetting after the probe above refuses the program.
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  end=$((SECONDS + 30))
  until ours || ! kill -0 "$xvfb_pid" 2>/dev/null || [ $SECONDS -ge $end ]; do sleep 0.05; done
  ours && break
  kill "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
done
[ -n "$xvfb_pid" ] || fail "Xvfb did not start"
export DISPLAY=:$n

find_window() { win=$(xdotool search --onlyvisible --name '^Dudovuvov$' 2>/dev/null | head -n1) && [ -n "$win" ]; }
at() { # at X Y: the window's top-left corner stands there
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^[XY]=')"
  [ "$X" = "$1" ] && [ "$Y" = "$2" ]
}
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
start() {
  "$app" >"$tmp/app.log" 2>&1 &
  app_pid=$!
  poll find_window || fail "the main window did not appear"
}
# Presses E&xit: client area (405, 4635) twips, 1365 x 405.
exit_program() {
  xdotool mousemove --window "$win" 72 322 click 1
  poll ended || fail "the program did not end on Exit"
  wait "$app_pid" || fail "the program ended with an error: $(cat "$tmp/app.log")"
  app_pid=""
}

start
poll at 77 51 || fail "first start not at the design position (77, 51)"
xdotool windowmove "$win" 200 150
poll at 200 150 || fail "the window did not move"
# The program sees the move before the click: X delivers events in order.
exit_program

settings=$XDG_CONFIG_HOME/dudovuvov/settings
[ -f "$settings" ] || fail "no settings file at $settings"
grep -qx '"Top"="2250"' "$settings" || fail "Top is not 2250 twips: $(cat "$settings")"
grep -qx '"Left"="3000"' "$settings" || fail "Left is not 3000 twips: $(cat "$settings")"

start
poll at 200 150 || fail "the second start did not open at the moved place"
exit_program
echo "PASS: the window opened where it was closed"
