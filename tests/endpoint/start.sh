#!/usr/bin/env bash
# start.sh ENDPOINT FILE [ENDPOINT FLAGS]: starts the endpoint in the background and returns once it has written FILE.
set -euo pipefail
# Absolute, as stop.sh finds the server by it on its command line.
endpoint=$1 file=$(realpath -m -- "$2")
shift 2
log=$file.log
mkdir -p "$(dirname "$file")"
# A server left behind by an aborted run still owns FILE.
if [ -e "$file" ]; then "$(dirname "$0")/stop.sh" "$file" || true; fi
# A trace the traced fixture kept from its last run (FILE.trace) starts anew.
rm -f "$file" "$file.trace"
# The datastores' directories go here rather than /tmp, so even a killed server leaves nothing outside.
mkdir -p "$file.tmp"

# Its output goes to the log only: ctest waits for every holder of a test's output pipe.
TMPDIR=$file.tmp "$endpoint" -env "$file" "$@" > "$log" 2>&1 < /dev/null &
pid=$!
for _ in $(seq 600); do
  if [ -e "$file" ]; then
    echo "endpoint $pid serves $(sed -n 's/^VISDK_ENDPOINT_URL=//p' "$file"); file $file, log $log"
    exit 0
  fi
  if ! kill -0 "$pid" 2> /dev/null; then
    wait "$pid" && status=0 || status=$?
    echo "the endpoint exited (status $status) without writing $file; its log:"
    cat "$log"
    exit 1
  fi
  sleep 0.1
done
echo "the endpoint wrote no $file within 60 s; its log:"
cat "$log"
kill "$pid"
exit 1
