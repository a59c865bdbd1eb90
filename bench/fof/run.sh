#!/usr/bin/env bash
# Converts every fof problem of a folder and runs velkor on each under the
# option sets of a short schedule, each with a CPU limit; every proof found
# is checked with proof-check.  Prints one line per problem naming the first
# option set that proved it (or "-"), then the totals per set and the union.
#   bench/fof/run.sh [--build DIR] [--limit SECONDS] [--data DIR] [-- converter options]
# DIR defaults to the five problems of tests/data/tptp-fof; the figures in the
# README are for the 55 problems of the shared data folder.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=$here/build
limit=2
data=$here/tests/data/tptp-fof/Problems
while (($#)); do
  case $1 in
    --build) build=${2:?} && shift ;;
    --limit) limit=${2:?} && shift ;;
    --data) data=${2:?} && shift ;;
    --) shift && break ;;
    *) echo "unknown argument $1" >&2 && exit 2 ;;
  esac
  shift
done
converter=$build/tools/tptp_to_velkor/tptp-to-velkor
velkor=$build/prover/velkor
checker=$build/tools/proof_check/proof-check
sets=("" "-reg" "-reg -foldup" "-reg -sgindex -indexfoldup" "-reg -dynsgreord 0 -complexity 1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A solved
union=0 problems=0 bad=0
for problem in "$data"/*.p; do
  name=$(basename "$problem" .p)
  problems=$((problems + 1))
  if ! "$converter" "$@" "$problem" >"$work/$name.v" 2>"$work/err"; then
    echo "$name: not converted: $(cat "$work/err")"
    continue
  fi
  first=-
  for i in "${!sets[@]}"; do
    # shellcheck disable=SC2086
    # Not exec: the shell that sees velkor killed at the limit reports it
    # on its own standard error, which is discarded.
    bash -c 'ulimit -c 0; ulimit -t "$1"; shift; "$@"; true' _ "$limit" \
      "$velkor" -proof ${sets[$i]} "$work/$name.v" >"$work/out" 2>/dev/null
    grep -q "PROOF WITH" "$work/out" || continue
    if ! "$checker" --problem "$work/$name.v" "$work/out" >/dev/null 2>&1; then
      echo "$name: proof under '${sets[$i]}' does not check"
      bad=$((bad + 1))
      continue
    fi
    solved[$i]=$((${solved[$i]:-0} + 1))
    [ "$first" = - ] && first="'${sets[$i]}'"
  done
  [ "$first" != - ] && union=$((union + 1))
  echo "$name $(wc -l <"$work/$name.v") clauses: $first"
done
for i in "${!sets[@]}"; do echo "set '${sets[$i]}': ${solved[$i]:-0} proved"; done
echo "union: $union of $problems proved within ${limit}s per set; $bad proofs did not check"
((bad == 0))
