#!/usr/bin/env bash
# The shipped schedule table is what bench/schedule/choose makes of the
# measurements kept beside it: rerunning choose with the arguments in
# bench/schedule/measured/arguments writes prover/driver/schedule.txt again,
# byte for byte, ignoring comment lines.
#
#   tests/schedule_choose_test.sh SOURCE_DIR VELKOR
set -uo pipefail
cd "${1:?}"
velkor=${2:?}
measured=bench/schedule/measured
out=$(mktemp)
trap 'rm -f "$out"' EXIT
mapfile -t arguments < <(grep -v -E '^\s*(#|$)' "$measured/arguments")
bench/schedule/choose --velkor "$velkor" "${arguments[@]}" --write "$out" 2>/dev/null || {
  echo "bench/schedule/choose failed"
  exit 1
}
if ! diff <(grep -v '^#' "$out") <(grep -v '^#' prover/driver/schedule.txt); then
  echo "choose makes another table of $measured than prover/driver/schedule.txt (above)"
  exit 1
fi
