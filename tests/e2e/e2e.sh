#!/usr/bin/env bash
# The end-to-end suite: installs the built program into a temporary prefix,
# runs it in a private X server with a private home, drives it with the
# pointer and keyboard and checks what a person would see.
# usage: e2e.sh <build folder> [<folder for screenshots>]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
shots=${2:-$build/e2e-screenshots}
. "$here/lib.sh"
trap end_session EXIT
trap 'exit 1' TERM INT

mkdir -p "$shots"
# Everything the run says is kept beside the screenshots.
exec > >(tee "$shots/e2e.log") 2>&1
start_session
cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1 ||
  die "install failed: $(cat "$scratch/install.log")"
app=$scratch/prefix/bin/dudovuvov
xpeer=$build/tests/e2e/xpeer
[ -x "$xpeer" ] || die "$xpeer is not built"
files=$scratch/files

# Titles may carry the program's name after them, as Qt shows it on Linux.
title() { echo "$1( — Dudovuvov)?"; }

# Places in the main window, in twips: left top width height.
txtred="405 2925 390 285" txtgreen="885 2925 390 285" txtblue="1365 2925 390 285"
optTEXT="2115 2490 1395 300" optNewlinks="2115 2985 2025 300" optVisitedlinks="2115 3315 2025 300"
optActivelinks="2115 3645 2025 300"
cmdCOPYTEXT="5235 795 1395 300" cmdCOPYBACK="5235 1500 1395 300" cmdCOPYnewlink="5235 2205 1395 300"
cmdCOPYvisitedlink="5235 2925 1395 300" cmdCOPYactivelink="5235 3645 1395 300"
cmdtag="5235 4080 1395 960" cmdALLdown="405 2325 1365 195" txtHEXback="5235 1155 900 285"
# Places in the tag window.
txtTag="465 240 6225 615" cmdcopyTag="465 975 2205 360"
# Middle pixel of a swatch: left 6240, 390 wide, 285 high.
swatch_x=$(($(tw 6240) + $(tw 390) / 2))
swatch_y() { echo $(($(tw "$1") + $(tw 285) / 2)); }

# set_box ID BOX VALUE: replaces a value box's text by typing (the boxes
# take digits only, so the old text is selected with Shift+Home).
set_box() {
  # shellcheck disable=SC2086
  click "$1" $2
  keys End shift+Home
  type_text "$3"
}

# copy_check ID BUTTON EXPECTED
copy_check() {
  mark_clipboard
  # shellcheck disable=SC2086
  click "$1" $2
  check "clipboard after pressing the button at $2" "$(wait_clipboard)" "$3"
}

###########################################################################
note "first start: title, size and place"
launch
first=$app_pid
main=$(wait_window Dudovuvov) || die "the main window did not appear"
poll "$E2E_TIMEOUT" has_geometry "$main" "77,51 468x362"
check "main window place and size" "$(geometry "$main")" "77,51 468x362"
wait_color "$main" "$swatch_x" "$(swatch_y 1155)" "#DCDCDC" || fail "Backcolor swatch not painted"
shot "$main" "$shots/main-window.png"

note "the command line answers while the program runs, without the lock"
check "--version" "$("$app" --version)" "Dudovuvov 2.0.2"

note "a second start is refused"
launch
second=$app_pid
attention=$(wait_window "$(title 'Attention!')") || fail "no Attention! message box"
if [ -n "$attention" ]; then
  shot "$attention" "$shots/attention.png"
  focus "$attention"
  keys Return
fi
poll "$E2E_TIMEOUT" exited "$second" || fail "the second copy did not end"
wait "$second"
check "exit code of the second copy" "$?" 0
running "$first" || fail "the first copy ended"
check "first copy's window" "$(visible_windows Dudovuvov | grep -c "^$main\$")" 1

###########################################################################
note "mixing colors by typing, switching targets, copying each color"
focus "$main"
# Back is selected at start.
set_box "$main" "$txtred" 128
wait_color "$main" "$swatch_x" "$(swatch_y 1155)" "#80DCDC" || fail "Backcolor swatch after typing 128"
copy_check "$main" "$cmdCOPYBACK" "#80DCDC"

click "$main" $optTEXT
set_box "$main" "$txtgreen" 255
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#0AFF0A" || fail "Textcolor swatch after typing 255"
copy_check "$main" "$cmdCOPYTEXT" "#0AFF0A"

click "$main" $optNewlinks
set_box "$main" "$txtblue" 100
wait_color "$main" "$swatch_x" "$(swatch_y 1860)" "#000064" || fail "new link swatch after typing 100"
copy_check "$main" "$cmdCOPYnewlink" "#000064"
copy_check "$main" "$cmdCOPYvisitedlink" "#551A8B"

click "$main" $optActivelinks
copy_check "$main" "$cmdCOPYactivelink" "#EE0000"

# The access key of "Set &Backcolor" brings back the background's values.
focus "$main"
keys alt+b
set_box "$main" "$txtblue" 0
wait_color "$main" "$swatch_x" "$(swatch_y 1155)" "#80DC00" || fail "Backcolor swatch after Alt+B and typing 0"
copy_check "$main" "$cmdCOPYBACK" "#80DC00"
shot "$main" "$shots/main-window-edited.png"

###########################################################################
note "Alt+T selects Text although Tag bears T too, and the focus goes to the red slider; SHIFT held over a click steps fast"
focus "$main"
keys alt+t
# Down on the red slider raises red; on the option it would select the next target.
keys Down
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#0BFF0A" || fail "Textcolor swatch after Alt+T and Down"
for box in "$txtred" "$txtgreen" "$txtblue"; do set_box "$main" "$box" 220; done
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#DCDCDC" || fail "Textcolor swatch after Alt+T and typing 220"
# X repeats no SHIFT key-down while it is held: the click itself must tell.
timeout 10 xdotool keydown shift
# shellcheck disable=SC2086
click "$main" $cmdALLdown
timeout 10 xdotool keyup shift
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#F0F0F0" || fail "Textcolor swatch after a SHIFT-click of all-down from 220"
copy_check "$main" "$cmdCOPYTEXT" "#F0F0F0"
set_box "$main" "$txtred" 10
set_box "$main" "$txtgreen" 255
set_box "$main" "$txtblue" 10
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#0AFF0A" || fail "Textcolor swatch back at #0AFF0A"
focus "$main"
keys alt+b
copy_check "$main" "$cmdCOPYBACK" "#80DC00"

###########################################################################
note "the BODY tag window: Enter copies the tag, Esc closes"
expected_tag='<BODY BGCOLOR="#80DC00" TEXT="#0AFF0A" LINK="#000064" VLINK="#551A8B" ALINK="#EE0000" BACKGROUND="">'
# The copy left the focus on " View Body &Tag": Enter presses it.
focus "$main"
keys Return
tag=$(wait_window Dudovuvov "$main") || die "the tag window did not appear"
check "tag window size" "$(geometry "$tag" | cut -d' ' -f2)" "468x112"
# Centred over the main window (at 77,51, 468 x 362) to the pixel: no frame
# is guessed for the missing window manager.
check "tag window centred over the main window" "$(geometry "$tag" | cut -d' ' -f1)" "77,176"
focus "$tag"
shot "$tag" "$shots/tag-window.png"
mark_clipboard
keys Return
check "clipboard after Enter in the tag window" "$(wait_clipboard)" "$expected_tag"
# Enter typed in the tag's own box copies it too, and leaves it one line.
for key in Return KP_Enter; do
  # shellcheck disable=SC2086
  click "$tag" $txtTag
  mark_clipboard
  keys "$key"
  check "clipboard after $key in the tag text" "$(wait_clipboard)" "$expected_tag"
done
mark_clipboard
# shellcheck disable=SC2086
click "$tag" $cmdcopyTag
check "tag text after Enter in it" "$(wait_clipboard)" "$expected_tag"
keys Escape
wait_gone "$tag" || fail "Esc did not close the tag window"

###########################################################################
note "the page generator through the file dialog"
click "$main" $cmdtag
tag=$(wait_window Dudovuvov "$main") || die "the tag window did not appear again"
focus "$tag"
keys alt+h
info=$(wait_window Dudovuvov "$main" "$tag") || die "the page window did not appear"
wait_gone "$tag" || fail "the tag window stayed visible beside the page window"
check "page window size" "$(geometry "$info" | cut -d' ' -f2)" "468x168"
check "page window centred over the main window" "$(geometry "$info" | cut -d' ' -f1)" "77,148"
focus "$info"
type_text "Ada Lovelace"
keys Tab
type_text "Colors"
shot "$info" "$shots/page-window.png"
keys Return
save=$(wait_window "$(title 'Save your Webpage as:')") || die "no save dialog"
focus "$save"
# A folder that does not exist is refused; the dialog stays for another name.
keys ctrl+a
type_text "/no/such/folder/p.htm"
keys Return
refusal=$(wait_window "$(title 'Save your Webpage as:')" "$save") || fail "no refusal of a missing folder"
if [ -n "$refusal" ]; then
  shot "$refusal" "$shots/save-missing-folder.png"
  focus "$refusal"
  keys Return
  wait_gone "$refusal" || fail "the refusal stayed"
fi
check "save dialog after the refusal" "$(visible_windows "$(title 'Save your Webpage as:')" | grep -c "^$save\$")" 1
focus "$save"
keys ctrl+a
type_text "$files/page"
keys Return
done_box=$(wait_window "$(title 'Dudovuvov.htm')") || die "no confirmation after saving"
shot "$done_box" "$shots/page-done.png"
focus "$done_box"
keys Return
wait_gone "$done_box" || fail "the confirmation stayed"
wait_gone "$info" || fail "the page window stayed"
page=$files/page.htm
if [ -f "$page" ]; then
  check "lines of the page" "$(wc -l <"$page")" 41
  check "CR LF line ends" "$(tr -cd '\r' <"$page" | wc -c)" 41
  check "page line 4" "$(sed -n 4p "$page" | tr -d '\r')" '<META NAME="Author" CONTENT="Ada Lovelace">'
  check "page line 6" "$(sed -n 6p "$page" | tr -d '\r')" '<TITLE>Colors</TITLE>'
  check "page line 8" "$(sed -n 8p "$page" | tr -d '\r')" "$expected_tag"
else
  fail "no page file at $page: $(ls -A "$files")"
fi

###########################################################################
note "Ctrl+V takes a color from the clipboard for the selected target"
# put_clipboard TEXT: xclip serves the text from the background, as for the
# marker, until the program takes the clipboard over.
clipboard_holds() { [ "$(clipboard)" = "$1" ]; }
put_clipboard() {
  printf '%s' "$1" | xclip -selection clipboard -i
  poll "$E2E_TIMEOUT" clipboard_holds "$1" || fail "the clipboard did not take $1"
}
put_clipboard "#123456"
focus "$main"
keys alt+b
keys ctrl+v
wait_color "$main" "$swatch_x" "$(swatch_y 1155)" "#123456" || fail "Backcolor swatch after Ctrl+V"
copy_check "$main" "$cmdCOPYBACK" "#123456"
# The other four take it too, so that each color the page gives back below
# is seen to change.
for target in "$optTEXT:450" "$optNewlinks:1860" "$optVisitedlinks:2580" "$optActivelinks:3300"; do
  put_clipboard "#123456"
  # shellcheck disable=SC2086
  click "$main" ${target%:*}
  keys ctrl+v
  wait_color "$main" "$swatch_x" "$(swatch_y "${target#*:}")" "#123456" ||
    fail "swatch at ${target#*:} twips after Ctrl+V"
done

###########################################################################
note "Ctrl+O gives back the five colors of the page written above"
focus "$main"
keys ctrl+o
opened=$(wait_window "$(title "Open a web page's colors")") || die "no open dialog after Ctrl+O"
focus "$opened"
keys ctrl+a
type_text "$page"
keys Return
wait_gone "$opened" || fail "the open dialog stayed"
wait_color "$main" "$swatch_x" "$(swatch_y 1155)" "#80DC00" || fail "Backcolor swatch after Ctrl+O"
copy_check "$main" "$cmdCOPYBACK" "#80DC00"
copy_check "$main" "$cmdCOPYTEXT" "#0AFF0A"
copy_check "$main" "$cmdCOPYnewlink" "#000064"
copy_check "$main" "$cmdCOPYvisitedlink" "#551A8B"
copy_check "$main" "$cmdCOPYactivelink" "#EE0000"
shot "$main" "$shots/main-window-opened-page.png"

note "Ctrl+Z takes the opened page back as one step, Ctrl+Shift+Z brings it again"
focus "$main"
keys ctrl+z
wait_color "$main" "$swatch_x" "$(swatch_y 1155)" "#123456" || fail "Backcolor swatch after Ctrl+Z"
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#123456" || fail "Textcolor swatch after Ctrl+Z"
copy_check "$main" "$cmdCOPYBACK" "#123456"
focus "$main"
keys ctrl+shift+z
wait_color "$main" "$swatch_x" "$(swatch_y 1155)" "#80DC00" || fail "Backcolor swatch after Ctrl+Shift+Z"
copy_check "$main" "$cmdCOPYBACK" "#80DC00"
copy_check "$main" "$cmdCOPYTEXT" "#0AFF0A"

###########################################################################
note "a page naming a compressed drawing of a gigabyte: a message at once, little memory"
# A megabyte of gzip that unpacks to a gigabyte of blanks inside an SVG.
python3 - "$files/bomb.svgz" <<'PY'
import sys, zlib
head, tail, block = b"<svg width='10' height='10'>", b"</svg>", b" " * (1 << 20)
z = zlib.compressobj(9, zlib.DEFLATED, -15)
body = z.compress(head) + z.flush(zlib.Z_FULL_FLUSH)
packed = z.compress(block) + z.flush(zlib.Z_FULL_FLUSH)  # nothing after it refers back
body += packed * 1024 + z.compress(tail) + z.flush()
crc = zlib.crc32(head)
for _ in range(1024):
    crc = zlib.crc32(block, crc)
crc = zlib.crc32(tail, crc)
size = len(head) + 1024 * len(block) + len(tail)
with open(sys.argv[1], "wb") as f:
    f.write(b"\x1f\x8b\x08\0\0\0\0\0\x02\x03" + body + crc.to_bytes(4, "little") + (size % 2**32).to_bytes(4, "little"))
PY
printf '<body link=red background="bomb.svgz">\n' >"$files/bomb.htm"
focus "$main"
keys ctrl+o
opened=$(wait_window "$(title "Open a web page's colors")") || die "no open dialog for the page"
focus "$opened"
keys ctrl+a
type_text "$files/bomb.htm"
start_ms=$(date +%s%3N)
keys Return
said=$(wait_window Dudovuvov "$main") || fail "no message about the page's picture"
took=$(($(date +%s%3N) - start_ms))
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$first/status")
note "message after $took ms; the program's peak memory $((peak_kb / 1024)) MB"
[ "$took" -lt 3000 ] || fail "the message took $took ms"
[ "$peak_kb" -lt $((100 * 1024)) ] || fail "peak memory $((peak_kb / 1024)) MB"
[ -n "$said" ] && shot "$said" "$shots/message-page-picture-bomb.png"
[ -n "$said" ] && { focus "$said"; keys Return; wait_gone "$said" || fail "the message stayed"; }
wait_color "$main" "$swatch_x" "$(swatch_y 1860)" "#FF0000" || fail "the page's link color after the refused picture"
focus "$main"
keys ctrl+z

###########################################################################
note "a background image through the file dialog"
# A 16 x 16 tile: magenta and green quarters.
convert -size 8x8 xc:'#FF00FF' xc:'#00FF00' +append \( -size 8x8 xc:'#00FF00' xc:'#FF00FF' +append \) -append \
  "$files/tile.png"
focus "$main"
keys alt+l
open=$(wait_window "$(title 'Open')") || die "no open dialog"
focus "$open"
keys ctrl+a
type_text "$files/tile.png"
keys Return
wait_gone "$open" || fail "the open dialog stayed"
# The preview's corner shows the tile pattern, repeated.
px=$(tw 2115) py=$(tw 465)
wait_color "$main" $((px + 2)) $((py + 2)) "#FF00FF" || fail "no tile at the preview's corner"
shot "$main" "$shots/main-window-image.png"
check "tile, top right quarter" "$(pixel "$shots/main-window-image.png" $((px + 12)) $((py + 2)))" "#00FF00"
check "tile, bottom left quarter" "$(pixel "$shots/main-window-image.png" $((px + 2)) $((py + 12)))" "#00FF00"
check "next tile across" "$(pixel "$shots/main-window-image.png" $((px + 18)) $((py + 2)))" "#FF00FF"
check "next tile down" "$(pixel "$shots/main-window-image.png" $((px + 2)) $((py + 18)))" "#FF00FF"

note "the picture covers the back color: a color pasted into its hex box leaves it, and the tag"
put_clipboard "#FF00FF"
# shellcheck disable=SC2086
click "$main" $txtHEXback
keys ctrl+v
copy_check "$main" "$cmdCOPYBACK" "#80DC00"
check "Backcolor swatch under the picture" "$(pixel_now "$main" "$swatch_x" "$(swatch_y 1155)")" "#80DC00"
click "$main" $cmdtag
tag=$(wait_window Dudovuvov "$main") || die "the tag window did not appear with the image"
focus "$tag"
mark_clipboard
keys Return
check "the tag with the image" "$(wait_clipboard)" "${expected_tag%BACKGROUND=*}BACKGROUND=\"tile.png\">"
keys Escape
wait_gone "$tag" || fail "Esc did not close the tag window"

###########################################################################
note "the about window"
focus "$main"
keys alt+a
about=$(wait_window "$(title About)") || die "the about window did not appear"
check "about window size" "$(geometry "$about" | cut -d' ' -f2)" "220x293"
shot "$about" "$shots/about-window.png"
focus "$about"
keys Return
wait_gone "$about" || fail "Enter did not close the about window"

###########################################################################
note "the Adjust window opens by Ctrl+J beside the main window"
focus "$main"
keys ctrl+j
adjust=$(wait_window "$(title 'Adjust – [A-Za-z ]*')") || fail "Ctrl+J did not open the Adjust window"
if [ -n "$adjust" ]; then
  read -r mx my _ _ < <(geometry "$main" | tr ',x' '  ')
  read -r ax ay aw ah < <(geometry "$adjust" | tr ',x' '  ')
  check "Adjust window beside the main window" "$ax,$ay" "$((mx + 468 + 8)),$my"
  # Both windows, as they stand on the screen.
  bottom=$((ay + ah > my + 362 ? ay + ah : my + 362))
  import -window root -crop "$((ax + aw - mx + 20))x$((bottom - my + 20))+$((mx - 10))+$((my - 10))" \
    "$shots/adjust-window.png"
  focus "$adjust"
  keys Escape
  wait_gone "$adjust" || fail "Esc did not close the Adjust window"
fi

###########################################################################
note "a clipboard owner or drag source that never answers does not freeze the window"
# Each wait on the program is timed from the key or click until the next
# action is seen handled; xdotool and xclip add about 0.2 s of their own.
timed_limit=1500
# The program's menus on screen: its other windows, told from a tooltip by
# their height (the preview's menu holds eleven entries).
popup_menus() {
  local id count=0
  for id in $(xdotool search --onlyvisible --pid "$first" 2>/dev/null); do
    [ "$id" = "$main" ] && continue
    [ "$(geometry "$id" | sed 's/.*x//')" -gt 100 ] && count=$((count + 1))
  done
  echo "$count"
}
hold_clipboard
asked=$(unanswered_requests)
focus "$main"
start=$(now_ms)
keys ctrl+v
# shellcheck disable=SC2086
click "$main" $cmdCOPYTEXT # handled once Ctrl+V has returned
# Asking the silent owner would wait: the copy is seen as it takes the
# clipboard over.
poll 60 grep -q "taken over" "$scratch/xpeer.out" || fail "no copy after Ctrl+V with a silent clipboard owner"
took=$(($(now_ms) - start))
check "copy after Ctrl+V with a silent clipboard owner" "$(clipboard)" "#0AFF0A"
note "Ctrl+V with a silent clipboard owner, then a copy: $took ms"
[ "$took" -lt "$timed_limit" ] || fail "Ctrl+V with a silent clipboard owner held the window $took ms"
[ "$(unanswered_requests)" -gt "$asked" ] || fail "the silent clipboard owner was never asked"
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#0AFF0A" || fail "Ctrl+V of nothing changed the Textcolor swatch"

# The sample text box pastes by itself, through the toolkit.
hold_clipboard
click "$main" 2115 2055 2790 330
start=$(now_ms)
keys ctrl+v
# shellcheck disable=SC2086
click "$main" $cmdCOPYTEXT
poll 60 grep -q "taken over" "$scratch/xpeer.out" || fail "no copy after Ctrl+V in the sample text box"
took=$(($(now_ms) - start))
note "Ctrl+V in the sample text box with a silent clipboard owner, then a copy: $took ms"
[ "$took" -lt "$timed_limit" ] || fail "Ctrl+V in the sample text box with a silent clipboard owner took $took ms"
check "copy after Ctrl+V in the sample text box" "$(clipboard)" "#0AFF0A"

hold_clipboard
check "menus open before the right click" "$(popup_menus)" 0
start=$(now_ms)
timeout 10 xdotool mousemove --window "$main" "$(tw 3000)" "$(tw 900)" click 3
menu_shown() { [ "$(popup_menus)" -gt 0 ]; }
poll 60 menu_shown || fail "the preview's menu did not open with a silent clipboard owner"
took=$(($(now_ms) - start))
note "the preview's menu with a silent clipboard owner: shown after $took ms"
[ "$took" -lt "$timed_limit" ] || fail "the preview's menu with a silent clipboard owner took $took ms"
keys Escape
menu_closed() { [ "$(popup_menus)" -eq 0 ]; }
poll "$E2E_TIMEOUT" menu_closed || fail "Esc did not close the preview's menu"

# A drag of a file list and text whose source never hands them over: every
# position is answered at once, and the drag leaves nothing behind.
"$xpeer" drag "$main" "$swatch_x" "$(swatch_y 450)" stall >"$scratch/drag.out" 2>&1
sed 's/^/   /' "$scratch/drag.out"
check "positions of a silent drag answered" "$(grep -c '^status .*: accepted after' "$scratch/drag.out")" 4
slowest=$(sed -n 's/.* after \([0-9]*\) ms/\1/p' "$scratch/drag.out" | sort -n | tail -1)
[ "${slowest:-99999}" -lt 1000 ] || fail "a silent drag source held the window ${slowest:-?} ms on one position"
copy_check "$main" "$cmdCOPYTEXT" "#0AFF0A"
# A source that does hand over its text: dropped on a swatch, it is the color.
"$xpeer" drag "$main" "$swatch_x" "$(swatch_y 450)" "#ABCDEF" >"$scratch/drag.out" 2>&1
sed 's/^/   /' "$scratch/drag.out"
check "a text drop on the Textcolor swatch" "$(tail -1 "$scratch/drag.out")" "drop taken"
wait_color "$main" "$swatch_x" "$(swatch_y 450)" "#ABCDEF" || fail "Textcolor swatch after the drop"
copy_check "$main" "$cmdCOPYTEXT" "#ABCDEF"
# The program's own copy comes back through the toolkit: asking its own
# window as another owner would wait on itself.
# shellcheck disable=SC2086
click "$main" $optNewlinks
keys ctrl+v
wait_color "$main" "$swatch_x" "$(swatch_y 1860)" "#ABCDEF" || fail "new link swatch after Ctrl+V of the program's own copy"

###########################################################################
note "the place is kept for the next start"
# Without a window manager, moving the window is what a drag of its title bar does.
xdotool windowmove --sync "$main" 300 200
poll "$E2E_TIMEOUT" has_geometry "$main" "300,200 468x362" || fail "could not move the window"
focus "$main"
keys alt+x
poll "$E2E_TIMEOUT" exited "$first" || fail "Alt+X did not end the program"
wait "$first"
check "exit code" "$?" 0
launch
first=$app_pid
main=$(wait_window Dudovuvov) || die "the main window did not appear on the second start"
poll "$E2E_TIMEOUT" has_geometry "$main" "300,200 468x362"
check "place on the next start" "$(geometry "$main")" "300,200 468x362"
focus "$main"
keys alt+x
poll "$E2E_TIMEOUT" exited "$first" || fail "Alt+X did not end the program"

###########################################################################
note "at twice the scale the window is twice the size"
launch QT_SCALE_FACTOR=2
first=$app_pid
main=$(wait_window Dudovuvov) || die "the main window did not appear at scale 2"
# The stored place (4500, 3000 twips) is in logical pixels: twice as far.
poll "$E2E_TIMEOUT" has_geometry "$main" "600,400 936x724"
check "place and size at scale 2" "$(geometry "$main")" "600,400 936x724"
wait_color "$main" $((2 * swatch_x)) $((2 * $(swatch_y 1155))) "#DCDCDC" || fail "scale 2 not painted"
shot "$main" "$shots/main-window-scale-2.png"
focus "$main"
keys alt+x
poll "$E2E_TIMEOUT" exited "$first" || fail "Alt+X did not end the program"

echo "screenshots: $shots"
echo "$checks checks, $failures failed"
if [ "$failures" -ne 0 ]; then
  echo "program output:" >&2
  cat "$scratch/app.log" >&2
  exit 1
fi
