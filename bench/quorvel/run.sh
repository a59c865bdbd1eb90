#!/usr/bin/env bash
# Benchmark of quorvel over SATLIB instances: per instance family (uf20,
# uf50, ..., uuf175) the number of instances, the total branch count of the
# result lines, the total time and branches per second.  Uses the release
# build in build/ (built here if needed).
#
#   bench/quorvel/run.sh [--satlib DIR] [build-directory] [quorvel options...]
#
# DIR holds the *.cnf instances; default: the repository's sample
# tests/data/satlib.
set -euo pipefail
cd "$(dirname "$0")/../.."
data=tests/data/satlib
if [[ ${1:-} == --satlib ]]; then
  data=${2:?--satlib needs a folder}
  shift 2
fi
build=${1:-build}
shift || true

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quorvel -j2 >/dev/null
quorvel="$build/modelgen/quorvel"

declare -A count branches nanos
families=()
for file in "$data"/*.cnf; do
  family=$(basename "$file" .cnf)
  family=${family%%-*}
  if [[ -z ${count[$family]+set} ]]; then
    families+=("$family")
    count[$family]=0 branches[$family]=0 nanos[$family]=0
  fi
  start=$(date +%s%N)
  line=$("$quorvel" -verbose 3 "$@" "$file" | tail -n 1)
  end=$(date +%s%N)
  case "$family:$line" in
    uf*:satisfiable:* | uuf*:unsatisfiable:*) ;;
    *) echo "wrong answer for $file: $line" >&2; exit 1 ;;
  esac
  n=${line#*: }
  n=${n%% branches*}
  count[$family]=$((count[$family] + 1))
  branches[$family]=$((branches[$family] + n))
  nanos[$family]=$((nanos[$family] + end - start))
done

printf '%-8s %9s %12s %10s %14s\n' family instances branches seconds branches/s
total_branches=0 total_nanos=0
for family in $(printf '%s\n' "${families[@]}" | sort -V); do
  b=${branches[$family]} t=${nanos[$family]}
  total_branches=$((total_branches + b)) total_nanos=$((total_nanos + t))
  printf '%-8s %9d %12d %10.3f %14.0f\n' "$family" "${count[$family]}" "$b" \
    "$(echo "$t / 1000000000" | bc -l)" "$(echo "$b * 1000000000 / $t" | bc -l)"
done
printf '%-8s %9s %12d %10.3f %14.0f\n' total "" "$total_branches" \
  "$(echo "$total_nanos / 1000000000" | bc -l)" \
  "$(echo "$total_branches * 1000000000 / $total_nanos" | bc -l)"
