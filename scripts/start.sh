#!/usr/bin/env bash
# Installs, builds and starts Vantrelo. Arguments go to the program, which
# then runs as the batch command.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

if [ $# -eq 0 ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No display for the window: show what the program does without one.
  output=build/people-highlighted.xlsx
  echo "The Vantrelo window needs a display, and there is none (DISPLAY and WAYLAND_DISPLAY are unset)."
  command=(build/app/vantrelo highlight examples/people.xlsx --block 'People!$A$1:$F$21'
           --columns Name,City --output "$output" --force)
  echo "Running the batch command on the sample workbook instead:"
  echo "  build/app/vantrelo highlight examples/people.xlsx --block 'People!\$A\$1:\$F\$21' --columns Name,City --output $output --force"
  echo
  "${command[@]}"
  echo
  echo "The coloured copy of examples/people.xlsx is $(realpath "$output")."
  exit 0
fi
exec build/app/vantrelo "$@"
