#!/usr/bin/env bash
# Checks the files a user's system receives: the program, its launcher entry,
# icons, metainfo and manual page, as `cmake --install` lays them out under
# /usr, or as unpacked from the Debian package (scripts/test-package).
# usage: check-install.sh <build folder>
#        check-install.sh --root <folder holding usr/>
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: check-install.sh <build folder> | --root <folder>" >&2; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
id=example.zudedidu.Dudovuvov
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if [ "$1" = --root ]; then
  root=$(cd "$2" && pwd)
else
  root=$scratch/root
  DESTDIR=$root cmake --install "$1" --prefix /usr >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log" >&2; exit 1; }
fi
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
unexpected=$(cd "$root" && find . ! -type d ! -path './usr/bin/*' ! -path './usr/share/*' | head -n1)
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

# The manual page: installed, free of formatting warnings, and in step with
# the program's own --help and --version.
man=$(ls "$root"/usr/share/man/man1/dudovuvov.1* 2>/dev/null | head -n1)
if [ -z "$man" ]; then
  fail "no manual page usr/share/man/man1/dudovuvov.1"
else
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man" 2>&1 >/dev/null) ||
    fail "man could not format the manual page: $warnings"
  [ -z "$warnings" ] || fail "manual page warnings: $warnings"
  page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$man" 2>/dev/null | col -b)
  [[ "$page" == *"Dudovuvov 2.0.2"* ]] || fail "manual page is not of version 2.0.2"
  # Each option of the help's option lines ("  -h, --help   Show ...").
  for option in $(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$app" --help | grep -E '^ +-' |
    sed -E 's/   +.*//' | grep -oE -- '--?[a-z][a-z-]*'); do
    grep -qE "(^|[ ,])$option([ ,]|$)" <<<"$page" || fail "manual page lacks the option $option"
  done
fi

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install checks passed"
