#!/usr/bin/env bash
# Installs the build into a scratch prefix and runs the example backup engine built against it.
set -euo pipefail
build_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" > /dev/null
"$(dirname "$0")/run_example.sh" "$work/prefix" "$work"
