#!/usr/bin/env bash
# Prints the fenced code blocks of a Markdown file that follow the marker line "<!-- test: NAME -->", in order.
# Fails when there is none, or when a marker is not followed by a fenced block.
set -euo pipefail
name=$1
file=$2
awk -v marker="<!-- test: $name -->" '
  $0 == marker { if (armed) exit 3; armed = 1; next }
  armed && /^```/ { armed = 0; inside = 1; blocks++; next }
  armed && NF { exit 3 }
  inside && /^```/ { inside = 0; next }
  inside { print }
  END { if (armed || inside) exit 3; if (!blocks) exit 4 }
' "$file" || {
  status=$?
  case $status in
    3) echo "$file: a '<!-- test: $name -->' marker is not followed by a closed fenced block" >&2 ;;
    4) echo "$file: no block is marked '<!-- test: $name -->'" >&2 ;;
  esac
  exit "$status"
}
