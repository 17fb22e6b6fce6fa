#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks its control
# data: every shared library the program and its helper link must come from a
# package it depends on, and the fonts and plugins it uses without linking
# must be listed too. Installs nothing. Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/*.deb)
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//; s/|.*//')
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

missing=0
need() { grep -qx "$1" <<<"$depends" || { echo "FAIL: $2 needs $1, which the package does not depend on"; missing=1; }; }
dpkg-deb -x "$deb" "$out/root"
for bin in "$out/root/usr/bin/orvanta" "$out/root/usr/libexec/orvanta/orvanta-decode"; do
  [ -x "$bin" ] || { echo "FAIL: $bin is not in the package"; exit 1; }
  # The libraries it links itself; theirs are their packages' concern.
  for name in $(readelf -d "$bin" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
    lib=$(ldd "$bin" | awk -v n="$name" '$1 == n && $3 ~ /^\// {print $3}')
    [ -n "$lib" ] || { echo "FAIL: $name of $bin is not found"; missing=1; continue; }
    owner=$(dpkg -S "$lib" 2>/dev/null || dpkg -S "$(readlink -f "$lib")" 2>/dev/null) \
      || { echo "FAIL: no package owns $lib"; missing=1; continue; }
    need "${owner%%:*}" "$(basename "$bin") ($name)"
  done
done
for pkg in fonts-noto-cjk fonts-urw-base35 qt6-image-formats-plugins libqt6svg6; do
  need "$pkg" "the program"
done
exit $missing
