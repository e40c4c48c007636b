#!/usr/bin/env bash
# Makes the Debian packages, checks their fields and contents, unpacks them together into a scratch root with
# dpkg -x and builds and runs hosts against that tree.
set -euo pipefail
if [ -n "${VISDK_SANITIZED:-}" ]; then
  echo "skipped: the library is built with sanitizers, which a host built without them cannot load"
  exit 77
fi
build_dir=$1
source_dir=$(cd "$(dirname "$0")" && pwd)
if ! command -v dpkg-deb > /dev/null; then
  echo "skipped: dpkg-deb is not available to unpack the packages"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$source_dir/make_packages.sh" "$build_dir" "$work/out"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
lib=$(find "$work/out" -maxdepth 1 -name 'libvisdkcppbridge1_*.deb')
dev=$(find "$work/out" -maxdepth 1 -name 'libvisdkcppbridge-dev_*.deb')
cli=$(find "$work/out" -maxdepth 1 -name 'visdk_*.deb')
version=$(dpkg-deb -f "$lib" Version)

fail() { echo "$*"; exit 1; }
has_depends() {  # DEB PACKAGE-WITH-RELATION...
  local deb=$1 depends
  shift
  depends=$(dpkg-deb -f "$deb" Depends)
  for wanted in "$@"; do
    [[ ", $depends," == *", $wanted,"* ]] || fail "$(basename "$deb"): Depends lacks '$wanted': $depends"
  done
}
has_depends "$lib" libmonosgen-2.0-1 libmono-corlib4.5-cil mono-runtime-common libmono-system4.0-cil \
  libmono-system-core4.0-cil libmono-system-xml4.0-cil libmono-system-runtime-serialization4.0-cil
has_depends "$dev" "libvisdkcppbridge1 (= $version)"
has_depends "$cli" "libvisdkcppbridge1 (= $version)"
if dpkg-deb -f "$lib" Depends | grep -q visdk; then fail "the library package depends on its own dependents"; fi
dpkg-deb --ctrl-tarfile "$lib" | tar -xO ./shlibs | grep -qx "libVISDKCppBridge 1 libvisdkcppbridge1 (>= $version)" \
  || fail "the library package has no shlibs entry for libVISDKCppBridge.so.1"
for deb in "$lib" "$dev" "$cli"; do
  maintainer=$(dpkg-deb -f "$deb" Maintainer)
  [[ "$maintainer" =~ ^[^\<]+\ \<[^@\>]+@[^@\>]+\.[a-z]+\>$ && "$maintainer" != *@localhost* ]] \
    || fail "$(basename "$deb"): maintainer '$maintainer' is no address"
done

# Where each file lands, by package; no file is in two packages.
contents() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort; }
contents "$lib" > "$work/lib.txt"
contents "$dev" > "$work/dev.txt"
contents "$cli" > "$work/cli.txt"
expect_in() {  # LIST FILE...
  local list=$1
  shift
  for file in "$@"; do grep -qxF "$file" "$work/$list.txt" || fail "$list package lacks $file:$(printf '\n%s' "$(cat "$work/$list.txt")")"; done
}
expect_in lib "usr/lib/$multiarch/libVISDKCppBridge.so.1" "usr/lib/$multiarch/libVISDKCppBridge.so.$version" \
  "usr/lib/$multiarch/VISDKWrapper.dll" "usr/lib/$multiarch/VISDKWrapper.config" \
  usr/share/doc/libvisdkcppbridge1/copyright usr/share/doc/libvisdkcppbridge1/changelog.gz
expect_in dev usr/include/VISDKCppBridge/VISDKCppBridge.h usr/include/VISDKCppBridge/VMInfoStructs.h \
  "usr/lib/$multiarch/libVISDKCppBridge.so" "usr/lib/$multiarch/pkgconfig/visdkcppbridge.pc" \
  "usr/lib/$multiarch/cmake/VISDKCppBridge/VISDKCppBridgeConfig.cmake" \
  usr/share/doc/libvisdkcppbridge-dev/copyright usr/share/doc/libvisdkcppbridge-dev/changelog.gz
expect_in cli usr/bin/visdk usr/share/doc/visdk/copyright usr/share/doc/visdk/changelog.gz
if [ -e "$build_dir/debian/visdk.1.gz" ]; then expect_in cli usr/share/man/man1/visdk.1.gz; fi
repeated=$(sort "$work/lib.txt" "$work/dev.txt" "$work/cli.txt" | uniq -d)
[ -z "$repeated" ] || fail "files in more than one package: $repeated"
if grep -q -e '^usr/include' -e '\.so$' -e 'cmake/' -e pkgconfig "$work/lib.txt" "$work/cli.txt"; then
  fail "development files outside the development package"
fi
if grep -h -e test_ -e gtest -e '/src/' "$work/lib.txt" "$work/dev.txt" "$work/cli.txt"; then fail "the packages carry test or source files"; fi
if grep -h "^usr/lib/[^/]*$" "$work/lib.txt" "$work/dev.txt"; then fail "files in /usr/lib itself, not the multiarch directory"; fi

root=$work/root
for deb in "$lib" "$dev" "$cli"; do dpkg-deb -x "$deb" "$root"; done
copyright=$root/usr/share/doc/visdk/copyright
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" || fail "copyright is not machine-readable"
grep -qx 'License: Apache-2.0' "$copyright" || fail "copyright names no Apache-2.0 license"
gzip -dc "$root/usr/share/doc/visdk/changelog.gz" | head -1 | grep -qx "visdkcppbridge ($version) [a-z]*; urgency=[a-z]*" \
  || fail "changelog does not start with this version's entry"
[ "$(od -An -tx1 -j4 -N4 "$root/usr/share/doc/visdk/changelog.gz" | tr -d ' ')" = 00000000 ] \
  || fail "changelog.gz carries a time stamp (not gzip -n)"

prefix=$root/usr
"$prefix/bin/visdk" --json > "$work/session.json"
grep -q '"vcenter": true' "$work/session.json" || { echo "the packaged visdk does not work:"; cat "$work/session.json"; exit 1; }

export PKG_CONFIG_PATH=$prefix/lib/$multiarch/pkgconfig
# shellcheck disable=SC2046
g++ -o "$work/by-pkgconfig" "$source_dir/consumer.cpp" $(pkg-config --cflags --libs visdkcppbridge)
LD_LIBRARY_PATH=$prefix/lib/$multiarch "$work/by-pkgconfig"

"$source_dir/run_example.sh" "$prefix" "$work"
echo "packages usable: $(cd "$work/out" && ls ./*.deb | xargs -n1 basename | tr '\n' ' ')"
