#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# program and helper, desktop entry and metainfo that pass the freedesktop
# validators, the icon at every theme size. Usage: check_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1 id=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
for f in bin/orvanta libexec/orvanta/orvanta-decode; do
  [ -x "$prefix/$f" ] || fail "$f is not installed"
done
desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo"
grep -qx 'Exec=orvanta %f' "$desktop" || fail "Exec line"
grep -q '^Name\[ja\]=' "$desktop" || fail "Japanese name"

icons=$prefix/share/icons/hicolor
grep -q '<svg' "$icons/scalable/apps/$id.svg" || fail "scalable icon"
for size in 16 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/$id.png
  [ -f "$png" ] || fail "icon $size is missing"
  # Width and height are the big-endian words at bytes 16 and 20 of a PNG.
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4, $7*256+$8}')
  [ "$w $h" = "$size $size" ] || fail "icon $size is ${w}x$h"
done

# The installed program answers from its new place.
"$prefix/bin/orvanta" --version | grep -q '^Orvanta ' || fail "installed program"
echo "install tree OK"
