#!/usr/bin/env bash
# Makes the Debian package, unpacks it into a scratch root with dpkg -x and builds and runs hosts against that tree.
set -euo pipefail
if [ -n "${VISDK_SANITIZED:-}" ]; then
  echo "skipped: the library is built with sanitizers, which a host built without them cannot load"
  exit 77
fi
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
if ! command -v dpkg-deb > /dev/null; then
  echo "skipped: dpkg-deb is not available to unpack the package"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" || { cat "$work/cpack.log"; exit 1; }
deb=$(find "$work/out" -maxdepth 1 -name '*.deb' -print -quit)
test -n "$deb" || { echo "no package was made"; cat "$work/cpack.log"; exit 1; }
test "$(dpkg-deb -f "$deb" Package)" = visdkcppbridge || { echo "wrong package name: $(dpkg-deb -f "$deb" Package)"; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
for runtime in libmonosgen-2.0-1 libmono-corlib4.5-cil mono-runtime-common libmono-system4.0-cil \
               libmono-system-core4.0-cil libmono-system-xml4.0-cil libmono-system-runtime-serialization4.0-cil; do
  [[ ", $depends," == *", $runtime,"* ]] || { echo "Depends lacks $runtime: $depends"; exit 1; }
done

root=$work/root
dpkg-deb -x "$deb" "$root"
prefix=$root/usr
for file in include/VISDKCppBridge/VISDKCppBridge.h include/VISDKCppBridge/VMInfoStructs.h \
            lib/libVISDKCppBridge.so lib/libVISDKCppBridge.so.1 lib/VISDKWrapper.dll lib/VISDKWrapper.config \
            lib/cmake/VISDKCppBridge/VISDKCppBridgeConfig.cmake lib/pkgconfig/visdkcppbridge.pc bin/visdk; do
  test -e "$prefix/$file" || { echo "missing from the package: /usr/$file"; exit 1; }
done
if dpkg-deb -c "$deb" | grep -q -e test_ -e gtest -e '/src/'; then echo "the package carries test or source files"; exit 1; fi

"$prefix/bin/visdk" --json > "$work/session.json"
grep -q '"vcenter": true' "$work/session.json" || { echo "the packaged visdk does not work:"; cat "$work/session.json"; exit 1; }

PKG_CONFIG_PATH=$prefix/lib/pkgconfig g++ -o "$work/by-pkgconfig" "$source_dir/consumer.cpp" \
  $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs visdkcppbridge)
LD_LIBRARY_PATH=$prefix/lib "$work/by-pkgconfig"

"$source_dir/run_example.sh" "$prefix" "$work"
echo "package usable: $(basename "$deb")"
