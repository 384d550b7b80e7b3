# Helpers of the end-to-end suite: a private X server and a private home,
# and the ways a person reaches the program (pointer, keyboard) and what a
# person sees (window titles and places, the clipboard, pixels, files).
# Every wait polls in short steps up to a limit; nothing sleeps a guess.

E2E_TIMEOUT=${E2E_TIMEOUT:-15} # seconds any single wait may take
failures=0
checks=0

note() { echo "-- [$SECONDS s] $*"; }
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
check() { # check DESCRIPTION ACTUAL EXPECTED
  checks=$((checks + 1))
  if [ "$2" != "$3" ]; then
    fail "$1: got '$2', expected '$3'"
  fi
}
die() {
  echo "FATAL: $*" >&2
  exit 1
}

# poll SECONDS COMMAND...: runs COMMAND until it succeeds or time is up.
poll() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  while true; do
    if "$@"; then return 0; fi
    [ $SECONDS -ge $end ] && return 1
    sleep 0.02
  done
}

# server_ready N: our server holds display N and answers there.
server_ready() {
  [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock")" = "$xvfb_pid" ] && DISPLAY=:$1 xdpyinfo >/dev/null 2>&1
}
# wait_server N: until our server answers on N; fails at once if it ended.
wait_server() {
  local end=$((SECONDS + E2E_TIMEOUT))
  while running "$xvfb_pid" && [ $SECONDS -lt $end ]; do
    server_ready "$1" && return 0
    sleep 0.02
  done
  return 1
}

# A private X server on a display number of its own, a private home
# and XDG folders.
# private_home: a scratch folder with a home, XDG folders and a runtime folder.
private_home() {
  scratch=$(mktemp -d /tmp/dudovuvov-e2e.XXXXXX)
  mkdir -p "$scratch"/{home,config,data,cache,runtime,files}
  chmod 700 "$scratch/runtime"
  export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data
  export XDG_CACHE_HOME=$scratch/cache XDG_RUNTIME_DIR=$scratch/runtime
  unset SESSION_MANAGER QT_SCALE_FACTOR
}

start_session() {
  private_home
  unset WAYLAND_DISPLAY
  export QT_QPA_PLATFORM=xcb
  # A random display number far from the low ones other servers scan for;
  # the server's lock file names our process, so the display is ours alone.
  local attempt n
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    n=$((1000 + RANDOM % 8000))
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${E2E_SCREEN:-1920x1200x24}" -nolisten tcp -noreset >"$scratch/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if wait_server "$n"; then
      export DISPLAY=:$n
      break
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  [ -n "$xvfb_pid" ] || die "no X server could be started: $(cat "$scratch/xvfb.log")"
  note "X server on $DISPLAY, home in $scratch"
}

end_session() {
  local pid
  for pid in "${app_pids[@]:-}"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  # Only our own children: a bare wait would also wait for the log's tee.
  wait "${xvfb_pid:-}" "${app_pids[@]:-}" 2>/dev/null
  [ -n "${scratch:-}" ] && rm -rf "$scratch"
}

app_pids=()
# launch [ENV=VALUE...]: starts the program; its pid is in $app_pid.
launch() {
  env "$@" "$app" >>"$scratch/app.log" 2>&1 &
  app_pid=$!
  app_pids+=("$app_pid")
}

running() { kill -0 "$1" 2>/dev/null; }
exited() { ! kill -0 "$1" 2>/dev/null; }

# visible_windows TITLE: ids of the mapped windows with exactly that title.
visible_windows() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

# wait_window TITLE [EXCEPT_ID...]: the first mapped window with that title
# that is none of the ids given; prints its id.
wait_window() {
  local title=$1
  shift
  local end=$((SECONDS + E2E_TIMEOUT)) id except
  while [ $SECONDS -lt $end ]; do
    for id in $(visible_windows "$title"); do
      for except in "$@"; do
        [ "$id" = "$except" ] && continue 2
      done
      echo "$id"
      return 0
    done
    sleep 0.02
  done
  return 1
}

window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
wait_gone() { poll "$E2E_TIMEOUT" window_gone "$1"; }

# geometry ID: "X,Y WIDTHxHEIGHT" of the window on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x "," y " " w "x" h}'
}
has_geometry() { [ "$(geometry "$1")" = "$2" ]; }

# Layout positions are given in twips; 15 twips make one pixel.
tw() { echo $(($1 / 15)); }

# click ID LEFT TOP WIDTH HEIGHT: a left click in the middle of a control
# whose place in the window is given in twips.
click() {
  local x=$(($(tw "$2") + $(tw "$4") / 2)) y=$(($(tw "$3") + $(tw "$5") / 2))
  timeout 10 xdotool mousemove --window "$1" "$x" "$y" click 1
}

# The keyboard goes to a window (there is no window manager to give it).
# A focus that never arrives (the toolkit may hand it on to a modal
# window) must not hang the run: the wait is bounded.
focus() { timeout 5 xdotool windowfocus --sync "$1" || xdotool windowfocus "$1"; }
keys() {
  [ -n "${E2E_TRACE:-}" ] && echo "   [$SECONDS s] keys $*"
  timeout 10 xdotool key --delay 30 "$@"
}
type_text() { timeout 20 xdotool type --delay 30 -- "$1"; }

# The clipboard holds a marker of our own until the program replaces it, so
# that a copy of an unchanged value is still seen to happen.
mark_clipboard() {
  printf 'e2e-marker-%s' "$RANDOM" | xclip -selection clipboard -i
  clipboard_marker=$(xclip -o -selection clipboard 2>/dev/null)
}
clipboard() { xclip -o -selection clipboard 2>/dev/null; }
clipboard_replaced() {
  local now
  now=$(clipboard) && [ -n "$now" ] && [ "$now" != "$clipboard_marker" ]
}
# wait_clipboard: prints the new clipboard text once the program put it there.
wait_clipboard() {
  poll "$E2E_TIMEOUT" clipboard_replaced || {
    echo "<clipboard unchanged>"
    return 1
  }
  clipboard
}

# shot ID FILE: a screenshot of a window.
shot() { import -window "$1" "$2"; }

# pixel FILE X Y: the color of one pixel as #RRGGBB.
pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR==2{print $3}' | cut -c1-7
}
# pixel_now ID X Y: the color the window shows there right now.
pixel_now() {
  import -window "$1" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null | awk 'NR==2{print $3}' | cut -c1-7
}
shows_color() { [ "$(pixel_now "$1" "$2" "$3")" = "$4" ]; }
# wait_color ID X Y #RRGGBB: until the window paints that color there.
wait_color() { poll "$E2E_TIMEOUT" shows_color "$@"; }

# now_ms: a clock in milliseconds, for what the suite times.
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Another X11 program beside ours (tests/e2e/xpeer.cpp), ended with the
# session.
# hold_clipboard: a program takes the clipboard and never answers a request
# for it; its pid is in $peer_pid.
hold_clipboard() {
  "$xpeer" hold-clipboard >"$scratch/xpeer.out" 2>>"$scratch/xpeer.log" &
  peer_pid=$!
  app_pids+=("$peer_pid")
  poll "$E2E_TIMEOUT" grep -q ready "$scratch/xpeer.out" || fail "xpeer did not take the clipboard"
}
# unanswered_requests: how many requests the silent owner has left unanswered.
unanswered_requests() { grep -c unanswered "$scratch/xpeer.log"; }
