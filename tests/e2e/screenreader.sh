#!/usr/bin/env bash
# The installed program as a screen reader meets it: a private D-Bus session
# with the accessibility bus switched on, as a reader switches it on, and a
# private display server: an X server (x11) or a headless Wayland compositor
# (wayland), where the program runs as a native Wayland client.
# usage: screenreader.sh <build folder> x11|wayland
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mode=$2
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ -z "${SCREENREADER_SESSION:-}" ]; then
  # A bus of our own, gone with this run.
  exec env SCREENREADER_SESSION=1 dbus-run-session -- bash "$0" "$@" 2> >(grep -v '^dbus-daemon\[' >&2)
fi
. "$here/lib.sh"

bus_pid="" weston_pid=""
finish() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  wait "$weston_pid" "$bus_pid" 2>/dev/null
  end_session
}
trap finish EXIT
trap 'exit 1' TERM INT

if [ "$mode" = wayland ]; then
  private_home
  unset DISPLAY
  export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-dudovuvov
  weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --width=1280 --height=800 \
    >"$scratch/weston.log" 2>&1 &
  weston_pid=$!
  poll "$E2E_TIMEOUT" test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || die "weston did not start: $(cat "$scratch/weston.log")"
  note "headless Wayland compositor on $WAYLAND_DISPLAY, home in $scratch"
else
  start_session
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$scratch/atspi.log" 2>&1 &
bus_pid=$!
bus_up() {
  dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null 2>&1
}
poll "$E2E_TIMEOUT" bus_up || die "the accessibility bus did not start: $(cat "$scratch/atspi.log")"

cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1 ||
  die "install failed: $(cat "$scratch/install.log")"
app=$scratch/prefix/bin/dudovuvov

# A stored place, which the Wayland run must leave exactly as it is.
settings=$XDG_CONFIG_HOME/dudovuvov/settings
mkdir -p "$(dirname "$settings")"
printf '; Dudovuvov settings\n[HKEY_CURRENT_USER\\Software\\Zudedidu\\Dudovuvov]\n"Left"="4500"\n"Top"="3000"\n' >"$settings"
before=$(sha256sum <"$settings")

launch
/usr/bin/python3 "$here/screenreader.py" "$mode" "$app_pid"
status=$?
if [ "$mode" = wayland ]; then
  poll "$E2E_TIMEOUT" exited "$app_pid" || fail "the program did not end after Exit"
  check "stored place after a Wayland session" "$(sha256sum <"$settings")" "$before"
  grep -q . "$scratch/app.log" && note "program said: $(cat "$scratch/app.log")"
fi
[ $status -eq 0 ] && [ $failures -eq 0 ]
