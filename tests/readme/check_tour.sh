#!/usr/bin/env bash
# Runs the README's tour as a user would: every line of the blocks marked "tour", in order and in one shell, from a
# fresh directory laid out like the repository root (build/ is the build tree, examples/ the shipped files). Stops
# at the first line that fails and names it.
set -euo pipefail
source_dir=$1
build_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$(cd "$build_dir" && pwd)" "$work/build"
ln -s "$source_dir/examples" "$work/examples"
mkdir "$work/tmp"

"$here/readme_block.sh" tour "$source_dir/README.md" > "$work/tour.txt"
# Each line is echoed before it runs; a failing line ends the script through the ERR trap with its text.
{
  echo 'set -eEo pipefail'
  echo 'trap '\''echo "tour: failed with status $? at line $step: $command" >&2; exit 1'\'' ERR'
  step=0
  while IFS= read -r line; do
    step=$((step + 1))
    [[ -z "${line// }" || "$line" =~ ^[[:space:]]*# ]] && continue
    quoted=$(printf '%q' "$line")
    echo "step=$step command=$quoted"
    echo 'printf "\n$ %s\n" "$command"'
    echo "$line"
  done < "$work/tour.txt"
} > "$work/tour.sh"

cd "$work"
# mktemp in the tour makes its directories here, so nothing is left behind.
TMPDIR=$work/tmp env -u VISDK_SIM_STATE -u VISDK_SERVER -u VISDK_USER -u VISDK_PASSWORD bash "$work/tour.sh"
echo "tour ran: $(grep -c '^step=' "$work/tour.sh") commands"
