#!/usr/bin/env bash
# Cross-compiles the shared Registry tests with the Windows registry backend
# and runs them under Wine in a fresh, throw-away prefix.
# Usage: run-wine.sh SOURCE_DIR OUTPUT_DIR
set -euo pipefail
src=$(cd "$1" && pwd)
out=$2
mkdir -p "$out"

cxx=$(command -v x86_64-w64-mingw32-g++ || true)
wine=$(command -v wine64 || true)
[ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
[ -z "$wine" ] && wine=$(command -v wine || true)
if [ -z "$cxx" ] || [ -z "$wine" ]; then
  echo "run-wine: mingw-w64 g++ or wine64 is missing (scripts/setup installs them)" >&2
  exit 1
fi
wineserver=$(command -v wineserver || true)
[ -x "$(dirname "$wine")/wineserver" ] && wineserver="$(dirname "$wine")/wineserver"

exe="$out/tst_registry_windows.exe"
"$cxx" -std=c++20 -static -O1 -Wall -Wextra -Wpedantic -Werror \
  -I"$src/src" -I"$src/tests/settings" \
  "$src/src/settings/registry.cpp" "$src/src/settings/rootkeys.cpp" "$src/src/settings/winregistrybackend.cpp" \
  "$src/tests/settings/registrytests.cpp" "$src/tests/settings/registrytests_windows.cpp" \
  -o "$exe"

prefix=$(mktemp -d "${TMPDIR:-/tmp}/dudovuvov-wine.XXXXXX")
cleanup() {
  if [ -n "$wineserver" ]; then WINEPREFIX="$prefix" "$wineserver" -k 2>/dev/null || true; fi
  rm -rf "$prefix"
}
trap cleanup EXIT

# No display, no prompts to install add-ons, no debug chatter.
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# The first start of a new prefix builds it; keep its messages out of the test's output.
timeout 240 "$wine" wineboot --init >/dev/null 2>&1 || true
timeout 120 "$wine" "$exe"
