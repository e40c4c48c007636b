#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds a host against it, by CMake package and by pkg-config.
set -euo pipefail
if [ -n "${VISDK_SANITIZED:-}" ]; then
  echo "skipped: the library is built with sanitizers, which a host built without them cannot load"
  exit 77
fi
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build_dir" --prefix "$prefix" > /dev/null
for file in include/VISDKCppBridge/VISDKCppBridge.h include/VISDKCppBridge/VMInfoStructs.h \
            include/VISDKCppBridge/CVIWrapperPtr.h include/VISDKCppBridge/ManagedValue.h \
            lib/libVISDKCppBridge.so lib/VISDKWrapper.dll lib/VISDKWrapper.config \
            lib/cmake/VISDKCppBridge/VISDKCppBridgeConfig.cmake lib/pkgconfig/visdkcppbridge.pc bin/visdk; do
  test -e "$prefix/$file" || { echo "missing from the installation: $file"; exit 1; }
done
readelf -d "$prefix/lib/libVISDKCppBridge.so" | grep -q 'SONAME.*libVISDKCppBridge.so.1' || { echo "no SONAME"; exit 1; }
if readelf -d "$prefix/lib/libVISDKCppBridge.so" | grep -q 'NEEDED.*mono'; then echo "the library links the runtime"; exit 1; fi

cmake -S "$source_dir" -B "$work/by-cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$work/by-cmake" > /dev/null
LD_LIBRARY_PATH=$prefix/lib "$work/by-cmake/consumer"

PKG_CONFIG_PATH=$prefix/lib/pkgconfig g++ -o "$work/by-pkgconfig" "$source_dir/consumer.cpp" \
  $(PKG_CONFIG_PATH=$prefix/lib/pkgconfig pkg-config --cflags --libs visdkcppbridge)
LD_LIBRARY_PATH=$prefix/lib "$work/by-pkgconfig"
"$prefix/bin/visdk" > /dev/null
echo "installation usable"
