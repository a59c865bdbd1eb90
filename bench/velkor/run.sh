#!/usr/bin/env bash
# Inference rates of velkor on real problems searched to a fixed final depth.
#
#   bench/velkor/run.sh [BUILD_DIR] [extra velkor options...]
#
# Uses the release build in BUILD_DIR (default: build).  Every problem is
# converted from the TPTP library in the TPTP environment variable (a library
# root with Problems/ and Axioms/; default: the repository's sample
# tests/data/tptp, which holds these problems), then run with
# "-d DEPTH --statistics".  Most failed inferences are refusals at the depth
# bound, which cost next to nothing, so the rates are given apart: successful
# inferences, refusals at the depth bound, the other failed inferences, and
# all of them together, each over the CPU seconds of the whole run.  Figures
# are ratios of one run, so they can be compared across machines and changes.
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
per_s() { awk -v n="$1" -v c="$2" 'BEGIN { printf "%.1f", (c > 0 ? n / c / 1e6 : 0) }'; }
printf '%-10s %5s %12s %12s %10s %8s %9s %9s %9s %9s\n' problem depth successful refusals \
  other_fail cpu_s 'succ M/s' 'refus M/s' 'other M/s' 'all M/s'
t_succ=0 t_refused=0 t_other=0 t_cpu=0
for run in "${runs[@]}"; do
  name=${run%:*}
  depth=${run#*:}
  file=$(find "$problems" -name "$name.p" | head -n 1)
  "$convert" "$file" > "$work/$name.v"
  # CPU seconds of velkor alone, from bash's own timing of the command.
  cpu=$( { TIMEFORMAT='%U %S'; time "$velkor" -d "$depth" --statistics "$@" "$work/$name.v" \
           > "$work/out"; } 2>&1 | awk '{ print $1 + $2 }')
  figure() { awk -v what="$1" 'index($0, "% statistics: " what " ") == 1 { print $NF }' "$work/out"; }
  succ=$(figure "successful inferences")
  fail=$(figure "failed inferences")
  refused=$(figure "refusals at the depth bound")
  other=$((fail - refused))
  printf '%-10s %5s %12s %12s %10s %8.2f %9s %9s %9s %9s\n' "$name" "$depth" "$succ" "$refused" \
    "$other" "$cpu" "$(per_s "$succ" "$cpu")" "$(per_s "$refused" "$cpu")" \
    "$(per_s "$other" "$cpu")" "$(per_s $((succ + fail)) "$cpu")"
  t_succ=$((t_succ + succ)) t_refused=$((t_refused + refused)) t_other=$((t_other + other))
  t_cpu=$(awk -v a="$t_cpu" -v b="$cpu" 'BEGIN { print a + b }')
done
printf '%-10s %5s %12s %12s %10s %8.2f %9s %9s %9s %9s\n' total "" "$t_succ" "$t_refused" \
  "$t_other" "$t_cpu" "$(per_s "$t_succ" "$t_cpu")" "$(per_s "$t_refused" "$t_cpu")" \
  "$(per_s "$t_other" "$t_cpu")" "$(per_s $((t_succ + t_refused + t_other)) "$t_cpu")"
