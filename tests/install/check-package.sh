#!/usr/bin/env bash
# Builds the Debian package from a built tree, unpacks it into a scratch root
# and checks what a user's system would receive.
# usage: check-package.sh <build folder>
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
id=example.zudedidu.Dudovuvov
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; exit 1; }
deb=$(ls "$scratch"/out/*.deb)
echo "package: $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = dudovuvov ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = 2.0.2 ] || fail "package version"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation2; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

dpkg -x "$deb" "$scratch/root"
root=$scratch/root
echo "files:"
(cd "$root" && find . -type f | sort | sed 's/^\./  /')

[ -x "$root/usr/bin/dudovuvov" ] || fail "no executable usr/bin/dudovuvov"
desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
[ -f "$desktop" ] && desktop-file-validate "$desktop" || fail "desktop entry missing or invalid"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry names another icon"
grep -qx "Exec=dudovuvov" "$desktop" || fail "desktop entry starts another program"
[ -f "$metainfo" ] && appstreamcli validate --no-net "$metainfo" >"$scratch/as.log" 2>&1 ||
  { cat "$scratch/as.log" >&2; fail "metainfo missing or invalid"; }
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launches another entry"
grep -q '<release version="2.0.2"' "$metainfo" || fail "metainfo lacks the release 2.0.2"

icons=$root/usr/share/icons/hicolor
file "$icons/scalable/apps/$id.svg" | grep -q 'SVG' || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/$id.png
  file "$png" | grep -q "PNG image data, $size x $size," || fail "icon $png is not $size x $size"
done
unexpected=$(cd "$root" && find . -type f ! -path './usr/bin/*' ! -path './usr/share/*' | head -n1)
[ -z "$unexpected" ] || fail "file outside /usr/bin and /usr/share: $unexpected"

# The command line answers without a display and without starting the program.
app=$root/usr/bin/dudovuvov
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" --version) || fail "--version failed"
[ "$out" = "Dudovuvov 2.0.2" ] || fail "--version printed '$out'"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" --help | grep -q '^Usage: dudovuvov \[options\]' ||
  fail "--help"
set +e
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" --frobnicate 2>&1 >/dev/null)
code=$?
set -e
[ $code -eq 2 ] || fail "unknown option ended with $code, not 2"
[[ "$err" == *"Unknown option 'frobnicate'"* ]] || fail "unknown option message: $err"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package checks passed"
