#!/usr/bin/env bash
# The manual shows the schedule table velkor runs: the block between its
# markers in docs/velkor.md is prover/driver/schedule.txt, byte for byte.
#
#   tests/docs_schedule_test.sh [SOURCE_DIR]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"
shown=$(sed -n '/^<!-- schedule table -->$/,/^<!-- end of schedule table -->$/p' docs/velkor.md |
  sed '1,2d;$d' | sed '$d')
if [[ $shown != "$(cat prover/driver/schedule.txt)" ]]; then
  echo "docs/velkor.md shows another schedule table than prover/driver/schedule.txt:"
  diff <(echo "$shown") prover/driver/schedule.txt
  exit 1
fi
