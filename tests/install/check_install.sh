#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds hosts against it: by CMake package, by pkg-config alone, and
# the README's host program.
set -euo pipefail
if [ -n "${VISDK_SANITIZED:-}" ]; then
  echo "skipped: the library is built with sanitizers, which a host built without them cannot load"
  exit 77
fi
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
readme=$source_dir/../../README.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build_dir/CMakeCache.txt")
cmake --install "$build_dir" --prefix "$prefix" > /dev/null
for file in include/VISDKCppBridge/VISDKCppBridge.h include/VISDKCppBridge/VMInfoStructs.h \
            include/VISDKCppBridge/CVIWrapperPtr.h include/VISDKCppBridge/ManagedValue.h \
            include/VISDKCppBridge/PlatformServices.h \
            "$libdir/libVISDKCppBridge.so" "$libdir/libVISDKCppBridge.so.1" "$libdir/VISDKWrapper.dll" \
            "$libdir/VISDKWrapper.config" "$libdir/cmake/VISDKCppBridge/VISDKCppBridgeConfig.cmake" \
            "$libdir/pkgconfig/visdkcppbridge.pc" bin/visdk; do
  test -e "$prefix/$file" || { echo "missing from the installation: $file"; exit 1; }
done
readelf -d "$prefix/$libdir/libVISDKCppBridge.so" | grep -q 'SONAME.*\[libVISDKCppBridge.so.1\]' || { echo "no SONAME"; exit 1; }
if readelf -d "$prefix/$libdir/libVISDKCppBridge.so" | grep -q 'NEEDED.*mono'; then echo "the library links the runtime"; exit 1; fi

cmake -S "$source_dir" -B "$work/by-cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DVISDK_EXPECTED_INCLUDE="$prefix/include" > "$work/cmake.log" || { cat "$work/cmake.log"; exit 1; }
cmake --build "$work/by-cmake" > /dev/null
LD_LIBRARY_PATH=$prefix/$libdir "$work/by-cmake/consumer"

export PKG_CONFIG_PATH=$prefix/$libdir/pkgconfig
cflags=$(pkg-config --cflags visdkcppbridge)
libs=$(pkg-config --libs visdkcppbridge)
read -r -a words <<< "$cflags"
if [ ${#words[@]} -ne 1 ] || [[ "${words[0]}" != -I* ]] || [ "$(realpath "${words[0]#-I}")" != "$prefix/include" ]; then
  echo "pkg-config --cflags gives '$cflags', not the include root $prefix/include alone"; exit 1
fi
# The host's own standard wins, and the headers' generic names stay out of its include path.
for standard in "" -std=c++17 -std=c++20; do
  # shellcheck disable=SC2086
  g++ $standard -o "$work/by-pkgconfig" "$source_dir/consumer.cpp" $cflags $libs
  LD_LIBRARY_PATH=$prefix/$libdir "$work/by-pkgconfig"
done
printf '#include <PlatformServices.h>\nint main() { return 0; }\n' > "$work/generic.cpp"
# shellcheck disable=SC2086
if g++ -fsyntax-only "$work/generic.cpp" $cflags 2> /dev/null; then
  echo "PlatformServices.h is reachable without its VISDKCppBridge/ directory"; exit 1
fi

"$(dirname "$0")/../readme/readme_block.sh" host "$readme" > "$work/engine.cpp"
# shellcheck disable=SC2086
g++ -Wall -Wextra -Werror -o "$work/engine" "$work/engine.cpp" $cflags $libs
LD_LIBRARY_PATH=$prefix/$libdir "$work/engine" > "$work/engine.txt" || { echo "the README's host failed:"; cat "$work/engine.txt"; exit 1; }
grep -q '^snapshot snapshot-[0-9]* removed$' "$work/engine.txt" || { echo "the README's host kept its snapshot:"; cat "$work/engine.txt"; exit 1; }

"$prefix/bin/visdk" > /dev/null
echo "installation usable"
