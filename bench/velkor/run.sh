#!/usr/bin/env bash
# Inference rate of velkor on real problems searched to a fixed final depth.
#
#   bench/velkor/run.sh [BUILD_DIR] [extra velkor options...]
#
# Uses the release build in BUILD_DIR (default: build).  Every problem is
# converted from the TPTP library in the TPTP environment variable (a library
# root with Problems/ and Axioms/; default: the repository's sample
# tests/data/tptp, which holds these problems), then run with
# "-d DEPTH"; the rate is all successful plus failed inferences of all levels
# over the CPU seconds of the run.  Figures are ratios of one run, so they can
# be compared across machines and changes.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build}
shift || true
case "$build" in /*) ;; *) build="$root/$build" ;; esac
velkor="$build/prover/velkor"
convert="$build/tools/tptp_to_velkor/tptp-to-velkor"
export TPTP=${TPTP:-$root/tests/data/tptp}
problems="$TPTP/Problems"
[ -x "$velkor" ] && [ -x "$convert" ] || { echo "build $build first (release)" >&2; exit 2; }

# problem:final depth, chosen so that each run takes a fraction of a second
# to a few seconds on a current machine.
runs=(SYN067-1:3 SYN067-3:4 SYN076-1:3 SYN155-1:5 SYN171-1:7 SYN190-1:6)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%-10s %5s %14s %9s %14s\n' problem depth inferences cpu_s inferences/s
total_inf=0
total_cpu=0
for run in "${runs[@]}"; do
  name=${run%:*}
  depth=${run#*:}
  file=$(find "$problems" -name "$name.p" | head -n 1)
  "$convert" "$file" > "$work/$name.v"
  # CPU seconds of velkor alone, from bash's own timing of the command.
  cpu=$( { TIMEFORMAT='%U %S'; time "$velkor" -d "$depth" "$@" "$work/$name.v" > "$work/out"; } 2>&1 \
         | awk '{ print $1 + $2 }')
  # Each level line ends with "succ [match] fail [constr]: n ..."; add the
  # columns labelled succ and fail.
  inf=$(awk '/^Lev\./ {
           split($0, parts, ": ");
           n = split(parts[3], labels, " ");
           split(parts[4], values, " ");
           for (i = 1; i <= n; i++) if (labels[i] == "succ" || labels[i] == "fail") s += values[i];
         } END { print s + 0 }' "$work/out")
  rate=$(awk -v i="$inf" -v c="$cpu" 'BEGIN { printf "%.0f", (c > 0 ? i / c : 0) }')
  printf '%-10s %5s %14s %9.2f %14s\n' "$name" "$depth" "$inf" "$cpu" "$rate"
  total_inf=$((total_inf + inf))
  total_cpu=$(awk -v a="$total_cpu" -v b="$cpu" 'BEGIN { print a + b }')
done
printf '%-10s %5s %14s %9.2f %14s\n' total "" "$total_inf" "$total_cpu" \
  "$(awk -v i="$total_inf" -v c="$total_cpu" 'BEGIN { printf "%.0f", (c > 0 ? i / c : 0) }')"
