#!/usr/bin/env bash
# Runs scripts/check-layers over a small made-up tree: the allowed includes
# pass, and each include that runs up or across is one line naming the file
# and the include.
# Usage: check-layers.sh PYTHON CHECK_LAYERS_SCRIPT
set -uo pipefail
python=$1
script=$2
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0

# Writes a file under the tree's src/ whose lines are the given includes.
source_file() {
  local path=$tree/src/$1
  shift
  mkdir -p "$(dirname "$path")"
  : >"$path"
  local header
  for header in "$@"; do printf '#include "%s"\n' "$header" >>"$path"; done
}

# Two libraries per folder: the pure core and the widgets.
libraries() {
  mkdir -p "$tree/src/$1"
  printf 'target_sources(dudovuvov_core PRIVATE\n  %s)\ntarget_sources(dudovuvov_ui PRIVATE\n  %s)\n' "$2" "$3" \
    >"$tree/src/$1/CMakeLists.txt"
}

libraries platform 'files.cpp files.h' 'desktop.cpp desktop.h'
libraries widgets '' 'factory.cpp factory.h'
libraries color 'rgb.cpp rgb.h' 'editor.cpp editor.h'
libraries preview 'tiles.cpp tiles.h' 'box.cpp box.h'
libraries output 'page.cpp page.h' ''
libraries settings 'store.cpp store.h' ''
printf 'if(WIN32)\n  target_sources(dudovuvov_core PRIVATE winstore.cpp winstore.h)\nendif()\n' \
  >>"$tree/src/settings/CMakeLists.txt"
libraries app '' 'window.cpp window.h'

# Every include here is allowed: down, within a folder, across to a core header,
# a core file to core headers of its own layer or lower, main.cpp to anything.
source_file platform/files.cpp platform/files.h
source_file platform/desktop.cpp platform/desktop.h platform/files.h
source_file widgets/factory.cpp widgets/factory.h platform/desktop.h
source_file color/rgb.h
source_file color/rgb.cpp color/rgb.h platform/files.h
source_file color/editor.h color/rgb.h
source_file color/editor.cpp color/editor.h widgets/factory.h platform/desktop.h preview/tiles.h
source_file preview/tiles.h
source_file preview/tiles.cpp preview/tiles.h color/rgb.h settings/winstore.h
source_file preview/box.cpp preview/box.h color/rgb.h output/page.h
source_file output/page.cpp output/page.h color/rgb.h
source_file settings/winstore.cpp settings/winstore.h settings/store.h
source_file app/window.cpp app/window.h color/editor.h preview/box.h widgets/factory.h
source_file main.cpp app/window.h color/editor.h platform/desktop.h
printf '#include "ui_window.h"\n#include <app/window.h>\n' >>"$tree/src/color/editor.cpp"

check() {
  output=$("$python" "$script" --root "$tree" 2>&1)
  status=$?
}

fail() {
  echo "FAIL: $1"
  echo "$output" | sed 's/^/  | /'
  failures=$((failures + 1))
}

check
if [ $status -ne 0 ] || [ "$output" != "layers: 14 files, no include runs up or across" ]; then
  fail "allowed includes: exit $status"
fi

# expect_one FILE INCLUDE LINE: FILE with INCLUDE added gives exactly LINE and exit 1.
expect_one() {
  local path=$tree/src/$1
  local kept=
  if [ -e "$path" ]; then
    kept=$(mktemp)
    cp "$path" "$kept"
  fi
  mkdir -p "$(dirname "$path")"
  touch "$path"
  [ -n "$2" ] && printf '#include "%s"\n' "$2" >>"$path"
  check
  if [ $status -ne 1 ] || [ "$output" != "$3" ]; then
    fail "src/$1 with \"$2\": exit $status, expected one line: $3"
  fi
  if [ -n "$kept" ]; then mv "$kept" "$path"; else rm -f "$path"; fi
}

# Up, from each layer.
expect_one color/editor.cpp app/window.h \
  'src/color/editor.cpp: #include "app/window.h" runs up from color (layer 2) to app (layer 3)'
expect_one platform/desktop.cpp widgets/factory.h \
  'src/platform/desktop.cpp: #include "widgets/factory.h" runs up from platform (layer 0) to widgets (layer 1)'
expect_one widgets/factory.h output/page.h \
  'src/widgets/factory.h: #include "output/page.h" runs up from widgets (layer 1) to output (layer 2)'

# Across to another subsystem's widgets, also from a core file.
expect_one color/editor.cpp preview/box.h \
  'src/color/editor.cpp: #include "preview/box.h" runs across from color to preview'"'"'s widgets'
expect_one color/rgb.h preview/box.h \
  'src/color/rgb.h: #include "preview/box.h" runs across from color to preview'"'"'s widgets'
expect_one output/page.cpp color/editor.h \
  'src/output/page.cpp: #include "color/editor.h" runs across from output to color'"'"'s widgets'

# A core file taking in a widget header, of its own folder or a lower layer.
expect_one color/rgb.cpp color/editor.h \
  'src/color/rgb.cpp: #include "color/editor.h" takes a widget header into the Qt-Core-only library'
expect_one preview/tiles.h platform/desktop.h \
  'src/preview/tiles.h: #include "platform/desktop.h" takes a widget header into the Qt-Core-only library'

# Folders without a layer: the file's own, the included one, and one with no includes at all.
expect_one gadgets/gadget.cpp color/rgb.h \
  'src/gadgets/gadget.cpp: #include "color/rgb.h" comes from gadgets, a folder with no layer'
expect_one color/editor.cpp extras/extra.h \
  'src/color/editor.cpp: #include "extras/extra.h" reaches extras, a folder with no layer'
expect_one main.cpp extras/extra.h \
  'src/main.cpp: #include "extras/extra.h" reaches extras, a folder with no layer'
expect_one gadgets/gadget.h '' \
  'src/gadgets/gadget.h: gadgets is a folder with no layer'

# Two faults in one file are two lines.
printf '#include "app/window.h"\n#include "preview/box.h"\n' >>"$tree/src/color/editor.h"
check
if [ $status -ne 1 ] || [ "$(echo "$output" | grep -c '^src/color/editor.h: #include ')" -ne 2 ]; then
  fail "two faults in src/color/editor.h: exit $status"
fi

[ $failures -eq 0 ] && echo "check-layers: all cases pass"
[ $failures -eq 0 ]
