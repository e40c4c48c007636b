#!/usr/bin/env bash
# Runs lintian on the three Debian packages: any error fails, warnings are printed.
set -euo pipefail
build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in lintian dpkg-deb; do
  if ! command -v "$tool" > /dev/null; then
    echo "skipped: $tool is not installed (.ci/install-deps installs it)"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$here/make_packages.sh" "$build_dir" "$work/out"
status=0
lintian --tag-display-limit 0 "$work"/out/*.deb > "$work/tags.txt" 2> "$work/stderr.txt" || status=$?
cat "$work/tags.txt"
# Its exit status does not tell its own failure from errors it found: the tags do.
if grep -q '^E: ' "$work/tags.txt"; then
  echo "lintian reports errors"
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "lintian failed to run (status $status):"
  cat "$work/stderr.txt"
  exit 1
fi
echo "lintian: no errors, $(grep -c '^W: ' "$work/tags.txt" || true) warnings"
