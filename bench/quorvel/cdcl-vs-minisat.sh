#!/usr/bin/env bash
# quorvel --cdcl against MiniSat and CaDiCaL: CPU seconds (user + system)
# per instance set, the answers cross-checked between the three, and the
# ratios to MiniSat.  The sets are the SATLIB instances of DIR (copied
# without their "%" trailer, which MiniSat does not read) and uniform
# random 3-SAT at clause/variable ratio 4.26 written by random_3sat.py with
# its fixed seed (five instances each of 200, 225 and 250 variables).
# Runs under nice, one process at a time.
#
#   bench/quorvel/cdcl-vs-minisat.sh SATLIB-DIR [build-directory]
set -euo pipefail
satlib=${1:?usage: cdcl-vs-minisat.sh SATLIB-DIR [build-directory]}
satlib=$(cd "$satlib" && pwd)
cd "$(dirname "$0")/../.."
build=${2:-build}
command -v minisat >/dev/null && command -v cadical >/dev/null ||
  { echo "needs minisat and cadical on PATH" >&2; exit 1; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quorvel -j2 >/dev/null
quorvel="$build/modelgen/quorvel"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/satlib" "$work/random"
for file in "$satlib"/*.cnf; do
  sed '/^%/,$d' "$file" >"$work/satlib/$(basename "$file")"
done
python3 bench/quorvel/random_3sat.py "$work/random"

# CPU seconds of one run (its exit status goes to the file $work/status).
cpu() {
  local TIMEFORMAT=%3U+%3S
  { time { nice "$@" >/dev/null 2>&1; echo $? >"$work/status"; }; } 2>&1 | bc -l
}

printf '%-8s %9s %5s %5s %10s %10s %10s %9s %9s\n' set instances sat unsat \
  quorvel-s minisat-s cadical-s q/minisat q/cadical
for set in satlib random; do
  n=0 sat=0 unsat=0 tq=0 tm=0 tc=0
  for file in "$work/$set"/*.cnf; do
    q=$(cpu "$quorvel" --cdcl --sat-competition "$file"); sq=$(cat "$work/status")
    m=$(cpu minisat "$file"); sm=$(cat "$work/status")
    c=$(cpu cadical -q "$file"); sc=$(cat "$work/status")
    if [[ $sq != "$sm" || $sq != "$sc" || ($sq != 10 && $sq != 20) ]]; then
      echo "answers differ on $(basename "$file"): quorvel $sq, minisat $sm, cadical $sc" >&2
      exit 1
    fi
    n=$((n + 1))
    if [[ $sq == 10 ]]; then sat=$((sat + 1)); else unsat=$((unsat + 1)); fi
    tq=$(echo "$tq + $q" | bc -l) tm=$(echo "$tm + $m" | bc -l) tc=$(echo "$tc + $c" | bc -l)
  done
  printf '%-8s %9d %5d %5d %10.2f %10.2f %10.2f %9.2f %9.2f\n' "$set" "$n" "$sat" "$unsat" \
    "$tq" "$tm" "$tc" "$(echo "$tq / $tm" | bc -l)" "$(echo "$tq / $tc" | bc -l)"
done
