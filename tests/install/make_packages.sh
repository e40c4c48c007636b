#!/usr/bin/env bash
# Makes the Debian packages of a build tree into a directory: make_packages.sh BUILD_DIR OUT_DIR.
set -euo pipefail
build_dir=$1
out=$2
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" > "$out.log" 2>&1 || { cat "$out.log"; exit 1; }
for package in libvisdkcppbridge1 libvisdkcppbridge-dev visdk; do
  [ -n "$(find "$out" -maxdepth 1 -name "${package}_*.deb" -print -quit)" ] || { echo "no $package package was made"; cat "$out.log"; exit 1; }
done
