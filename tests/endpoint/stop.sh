#!/usr/bin/env bash
# stop.sh FILE: stops the endpoint that wrote FILE, by the pid in it; fails if it had died or will not stop.
set -euo pipefail
file=$(realpath -m -- "$1")
if [ ! -e "$file" ]; then
  echo "no $file: no endpoint to stop"
  rm -rf "$file.tmp"
  exit 0
fi
pid=$(sed -n 's/^VISDK_ENDPOINT_PID=//p' "$file")
status=0
# The pid may since have gone to another process: only one started on FILE is ours.
if [ -n "$pid" ] && tr '\0' '\n' < "/proc/$pid/cmdline" 2> /dev/null | grep -qxF -- "$file"; then
  kill -TERM "$pid"
  # The server removes FILE last on its way out.
  for _ in $(seq 300); do
    [ -e "$file" ] || break
    sleep 0.1
  done
  if [ -e "$file" ]; then
    echo "endpoint $pid did not stop within 30 s of SIGTERM; killed"
    kill -KILL "$pid" 2> /dev/null || true
    status=1
  fi
else
  echo "no endpoint serving $file runs as pid ${pid:-?}: it had exited before it was stopped; its log:"
  cat "$file.log" 2> /dev/null || true
  status=1
fi
rm -rf "$file" "$file.pem" "$file.partial" "$file.tmp"
exit $status
