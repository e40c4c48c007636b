#!/usr/bin/env bash
# Installs the build into a scratch prefix and runs the example backup engine built against it.
set -euo pipefail
if [ -n "${VISDK_SANITIZED:-}" ]; then
  echo "skipped: the library is built with sanitizers, which a host built without them cannot load"
  exit 77
fi
build_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" > /dev/null
"$(dirname "$0")/run_example.sh" "$work/prefix" "$work"
