#!/usr/bin/env bash
# Taking a color off the screen under X11: a window of known pixels beside
# the program, picked with the keyboard and with a click, at scale 1 and 2
# and on the second of two screens; the copy buttons say what was taken.
# usage: pick.sh <build folder> [<folder for screenshots>]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shots=${2:-$build/e2e-screenshots}
. "$here/lib.sh"
trap end_session EXIT
trap 'exit 1' TERM INT
mkdir -p "$shots"
exec > >(tee "$shots/e2e-pick.log") 2>&1
pattern_program=$build/tests/e2e/e2e_pattern

# The pattern's color of the device pixel at X Y (as pattern.cpp paints it).
expected() { printf '#%02X%02X%02X' $(($1 * 97 & 255)) $(($2 * 89 & 255)) $(((($1 >> 8) << 4 | ($2 >> 8)) ^ 0x5A)); }

# scaled N: N logical pixels in device pixels at the program's scale.
scaled() { awk -v v="$1" -v s="$scale" 'BEGIN { printf "%d", v * s }'; }
copy_buttons=("5235 795 1395 300" "5235 1500 1395 300" "5235 2205 1395 300" "5235 2925 1395 300"
  "5235 3645 1395 300")
# copy_of N: what the copy button of target N (text, back, new, visited,
# active) puts on the clipboard, clicked at the program's scale.
copy_of() {
  local b=(${copy_buttons[$1]})
  local x y
  x=$(scaled $(($(tw "${b[0]}") + $(tw "${b[2]}") / 2))) y=$(scaled $(($(tw "${b[1]}") + $(tw "${b[3]}") / 2)))
  mark_clipboard
  timeout 10 xdotool mousemove --window "$main" "$x" "$y" click 1
  wait_clipboard
}
all_colors() { for i in 0 1 2 3 4; do printf '%s ' "$(copy_of "$i")"; done; }

# The magnifier follows the pointer once it holds it: over another
# program's window it hears of the pointer only then.
moved_from() { [ "$(geometry "$magnifier")" != "$1" ]; }
# point_at X Y: moves the pointer (device pixels) and waits for the magnifier.
point_at() {
  local was
  was=$(geometry "$magnifier")
  timeout 5 xdotool mousemove "$1" "$2"
  poll "$E2E_TIMEOUT" moved_from "$was" || fail "the magnifier did not follow to $1,$2: $was"
}
# start_pick X Y: Alt+P with the pointer at X Y, until the magnifier holds it.
start_pick() {
  focus "$main"
  timeout 5 xdotool mousemove "$1" "$2"
  keys alt+p
  magnifier=$(wait_window "Pick from screen") || {
    fail "no magnifier after Alt+P"
    return 1
  }
  point_at $(($1 + 7)) "$2"
  point_at "$1" "$2"
}

# run_picks LABEL: the picks on a pattern around (px, py), with the program
# at $scale; the back color is the selected target.
run_picks() {
  local label=$1
  launch QT_SCALE_FACTOR="$scale"
  main=$(wait_window Dudovuvov) || die "the main window did not appear ($label)"
  "$pattern_program" "$px" "$py" 400 120 >>"$scratch/app.log" 2>&1 &
  app_pids+=($!)
  wait_window e2e-pattern >/dev/null || die "the pattern did not appear"
  local before
  before=$(all_colors)

  note "$label: arrow keys, one device pixel and ten with Shift, then Enter"
  local x=$((px + 40)) y=$((py + 30))
  start_pick "$x" "$y"
  keys Right Right Down shift+Right Up Up Left
  x=$((x + 11)) y=$((y - 1))
  pointer=$(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1,\2/')
  check "$label: the pointer after the arrow keys" "$pointer" "$x,$y"
  shot "$magnifier" "$shots/magnifier-$label.png"
  keys Return
  wait_gone "$magnifier" || fail "$label: the magnifier stayed after Enter"
  local picked
  picked=$(copy_of 1)
  check "$label: back color picked with the keys at $x,$y" "$picked" "$(expected "$x" "$y")"
  echo "   picked $picked at $x,$y"

  note "$label: a left click takes the pixel under the pointer"
  local after_keys=$picked
  x=$((px + 201)) y=$((py + 77))
  start_pick $((x - 30)) $((y - 20))
  point_at "$x" "$y"
  timeout 5 xdotool click 1
  wait_gone "$magnifier" || fail "$label: the magnifier stayed after a click"
  picked=$(copy_of 1)
  check "$label: back color picked with a click at $x,$y" "$picked" "$(expected "$x" "$y")"
  echo "   picked $picked at $x,$y"

  note "$label: Escape and a right click leave all five colors"
  local now
  now=$(all_colors)
  start_pick $((px + 100)) $((py + 50))
  keys Left Down
  keys Escape
  wait_gone "$magnifier" || fail "$label: the magnifier stayed after Escape"
  check "$label: colors after Escape" "$(all_colors)" "$now"
  start_pick $((px + 150)) $((py + 60))
  timeout 5 xdotool click 3
  wait_gone "$magnifier" || fail "$label: the magnifier stayed after a right click"
  check "$label: colors after a right click" "$(all_colors)" "$now"

  note "$label: Ctrl+Z gives back the color before the pick"
  focus "$main"
  keys ctrl+z
  check "$label: back color after one undo" "$(copy_of 1)" "$after_keys"
  keys ctrl+z
  check "$label: all colors after two undos" "$(all_colors)" "$before"

  kill "${app_pids[@]}" 2>/dev/null
  wait "${app_pids[@]}" 2>/dev/null
  app_pids=()
}

# The place of a program's first start leaves the lower part of the screen
# to the pattern, at either scale.
E2E_SCREEN=1280x1024x24 start_session
cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1 ||
  die "install failed: $(cat "$scratch/install.log")"
app=$scratch/prefix/bin/dudovuvov
px=300 py=860
scale=1 run_picks scale-1
scale=2 run_picks scale-2
scale=1.5 run_picks scale-1.5
end_session

note "two screens side by side (one wide screen split by RandR): picking on the second"
E2E_SCREEN=2560x1024x24 start_session
cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1 ||
  die "install failed: $(cat "$scratch/install.log")"
app=$scratch/prefix/bin/dudovuvov
xrandr --setmonitor LEFT 1280/338x1024/270+0+0 screen >/dev/null
xrandr --setmonitor RIGHT 1280/338x1024/270+1280+0 none >/dev/null
check "monitors" "$(xrandr --listmonitors | head -1)" "Monitors: 2"
px=1700 py=500
scale=1 run_picks second-screen

echo "screenshots: $shots"
echo "$checks checks, $failures failed"
if [ "$failures" -ne 0 ]; then
  echo "program output:" >&2
  cat "$scratch/app.log" >&2
  exit 1
fi
