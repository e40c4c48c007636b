#!/usr/bin/env bash
# Builds the example backup engine against an installed tree and runs it twice on one simulator state, with a guest
# write in between: the first run reads every allocated area, the second exactly the write.
set -euo pipefail
prefix=$1
work=$2
source_dir=$(cd "$(dirname "$0")/../../examples" && pwd)
libdir=$(dirname "$(find "$prefix" -name libVISDKCppBridge.so -print -quit)")

cmake -S "$source_dir" -B "$work/example" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$work/example" > /dev/null
engine=$work/example/backup_engine

export VISDK_SIM_STATE=$work/example.state
expect() {
  grep -qxF "$1" "$2" || { echo "expected '$1' in:"; cat "$2"; exit 1; }
}
LD_LIBRARY_PATH=$libdir "$engine" vm-web01 > "$work/first.txt"
expect "disk 2000: full, 6 areas, 6442450944 bytes" "$work/first.txt"
expect "disk 2001: full, 4 areas, 1073741824 bytes" "$work/first.txt"
grep -q '^snapshot snapshot-[0-9]* removed$' "$work/first.txt" || { echo "snapshot not removed"; cat "$work/first.txt"; exit 1; }

"$prefix/bin/visdk" guest write vm-web01 2000 1048576 4096 > /dev/null
since=()
while IFS= read -r pair; do
  since+=(--since "$pair")
done < <(sed -n 's/^disk \([0-9]*\): next change id \(.*\)$/\1=\2/p' "$work/first.txt")
LD_LIBRARY_PATH=$libdir "$engine" vm-web01 "${since[@]}" > "$work/second.txt"
expect "  disk 2000: area at 1048576, 4096 bytes" "$work/second.txt"
expect "disk 2000: incremental, 1 areas, 4096 bytes" "$work/second.txt"
expect "disk 2001: incremental, 0 areas, 0 bytes" "$work/second.txt"
echo "example backup engine ran against $prefix"
