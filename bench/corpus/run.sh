#!/usr/bin/env bash
# Corpus run over TPTP problems and SATLIB instances: by default the sample
# kept in the repository (tests/data), or a whole library:
#
#  1. every TPTP problem of the Problems folder converted with tptp-to-velkor; the
#     problem report velkor prints for the plain conversion (no equality
#     axioms, tautologies kept) compared with the file's "% Syntax" header;
#  2. velkor on every converted problem under a per-problem time limit, for
#     the settings default, -reg, -foldup and -reg -foldup: solved problems,
#     "FORMULA IS SATISFIABLE" answers (all problems are unsatisfiable, so each
#     one is an error), inferences (succ + match + fail of the "Lev." lines),
#     CPU seconds and inferences per second of the solved problems; every proof
#     found is also checked with proof-check when that program is available;
#  3. quorvel on every SATLIB instance: the verdict (uf* must be
#     satisfiable, uuf* unsatisfiable), the model printed with -negmodel
#     checked against the clauses, branches and branches per CPU second.
#
# Any error (conversion failure, header mismatch, satisfiable answer, proof
# that does not check, wrong verdict, model that falsifies a clause) is listed
# and makes the exit status 1.
#
#   bench/corpus/run.sh [--short] [--build DIR] [--limit SECONDS]
#                       [--tptp DIR] [--satlib DIR] [--data DIR]
#                       [--velkor PATH] [--quorvel PATH] [--converter PATH]
#                       [--proof-check PATH] [--keep DIR]
#
# --tptp DIR is a TPTP library root (DIR/Problems, DIR/Axioms); default: the
# TPTP environment variable, else the repository's sample tests/data/tptp.
# --satlib DIR holds *.cnf instances; default tests/data/satlib.  --data DIR
# stands for --tptp DIR/tptp --satlib DIR/satlib.
#
# The long form (default) takes every problem and instance with a limit of
# 10 s per velkor run; it uses the release build in build/ and builds the
# programs there first unless their paths are given.  --short (0.2 s per
# run, only the uf20, uf50 and uuf50 families) finishes in seconds on the
# sample; CTest runs it.  Limits of whole seconds are CPU time (ulimit -t,
# with a wall-clock backstop); fractional limits are wall-clock time.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
short=false build=$root/build limit= tptp=${TPTP:-} satlib= keep=
velkor= quorvel= converter= checker=
usage() { sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 2; }
while (($#)); do
  case $1 in
    --short) short=true ;;
    --build) build=${2:?} && shift ;;
    --limit) limit=${2:?} && shift ;;
    --velkor) velkor=${2:?} && shift ;;
    --quorvel) quorvel=${2:?} && shift ;;
    --converter) converter=${2:?} && shift ;;
    --proof-check) checker=${2:?} && shift ;;
    --tptp) tptp=${2:?} && shift ;;
    --satlib) satlib=${2:?} && shift ;;
    --data) tptp=${2:?}/tptp satlib=$2/satlib && shift ;;
    --keep) keep=${2:?} && shift ;;
    -h | --help) usage ;;
    *) echo "run.sh: unknown argument $1" >&2 && usage ;;
  esac
  shift
done
tptp=${tptp:-$root/tests/data/tptp}
satlib=${satlib:-$root/tests/data/satlib}
if $short; then limit=${limit:-0.2}; else limit=${limit:-10}; fi

if [[ -z $velkor$quorvel$converter$checker ]] && ! $short; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$build" --target velkor quorvel tptp-to-velkor proof-check -j2 >/dev/null ||
    { echo "run.sh: cannot build in $build" >&2; exit 2; }
fi
velkor=${velkor:-$build/prover/velkor}
quorvel=${quorvel:-$build/modelgen/quorvel}
converter=${converter:-$build/tools/tptp_to_velkor/tptp-to-velkor}
checker=${checker:-$build/tools/proof_check/proof-check}
for program in "$velkor" "$quorvel" "$converter"; do
  [[ -x $program ]] || { echo "run.sh: $program is missing; build it first" >&2; exit 2; }
done
[[ -x $checker ]] || { echo "note: no $checker, proofs are not checked" >&2; checker=; }
[[ -d $tptp/Problems ]] || { echo "run.sh: no TPTP problems under $tptp/Problems" >&2; exit 2; }
[[ -d $satlib ]] || { echo "run.sh: no SATLIB folder $satlib" >&2; exit 2; }

if [[ -n $keep ]]; then
  work=$keep && mkdir -p "$work"
else
  work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/plain" "$work/full" "$work/out"

errors=0
error() {
  echo "ERROR: $*"
  errors=$((errors + 1))
}

# Runs "$@" under the time limit with output to $1 (shifted off) and prints
# the CPU seconds it used and its exit status.  Whole-second limits are CPU
# limits.
limited() {
  local out=$1 TIMEFORMAT='%U %S' t
  shift
  if [[ $limit =~ ^[0-9]+$ ]]; then
    t=$( { time bash -c 'ulimit -c 0; ulimit -t "$1"; shift; exec "$@"' _ "$limit" \
      timeout -s KILL $((2 * limit + 5)) "$@" >"$out" 2>&1; echo "status $?" >&2; } 2>&1)
  else
    t=$( { time timeout -s KILL "$limit" "$@" >"$out" 2>&1; echo "status $?" >&2; } 2>&1)
  fi
  awk '/^status/ { status = $2; next } { cpu = $1 + $2 } END { printf "%.3f %d\n", cpu, status }' <<<"$t"
}

# Count per CPU second; "-" when the time is too short to measure (bash
# reports CPU time in milliseconds).
rate() { awk -v n="$1" -v s="$2" 'BEGIN { if (s < 0.05) print "-"; else printf "%.0f\n", n / s }'; }

# Flat, or in domain folders as in the TPTP library; includes are resolved
# against the library root.
mapfile -t problems < <(find "$tptp/Problems" -name '*.p' | sort)
export TPTP=$tptp

# 1. Conversion and the problem report against the "% Syntax" header.
converted=() refused=() matches=0
for file in "${problems[@]}"; do
  name=$(basename "$file" .p)
  if ! "$converter" "$file" >"$work/full/$name.v" 2>"$work/out/$name.convert"; then
    # The converter refuses only what velkor cannot read (the empty clause)
    # and then says why; anything else is a conversion fault.
    if grep -q "empty" "$work/out/$name.convert"; then refused+=("$name"); else
      error "$name: conversion failed: $(head -c 300 "$work/out/$name.convert")"
    fi
    continue
  fi
  converted+=("$name")
  "$converter" --no-equality-axioms --keep-tautologies "$file" >"$work/plain/$name.v" 2>/dev/null
  # Level 1 alone is enough for the report, which comes first.
  timeout -s KILL 20 "$velkor" -d 1 "$work/plain/$name.v" >"$work/out/$name.report" 2>&1
  verdict=$(awk '
    function num(s) { gsub(/[^0-9]/, "", s); return s }
    FNR == NR {
      line = $0; sub(/^% *(Syntax *:)? */, "", line)
      if (line ~ /^Number of clauses/) {
        seen = 1; split(line, f, /[:(;]/)
        h["clauses"] = num(f[2]) " " num(f[3]) " " num(f[4])
      } else if (line ~ /^Number of literals/) {
        split(line, f, /[:(;]/); h["literals"] = num(f[2]) " " num(f[3])
      } else if (line ~ /^Maximal clause size/) {
        split(line, f, /[:(]/); h["size"] = num(f[2])
      } else if (line ~ /^Number of (predicates|functors)/) {
        kind = line ~ /predicates/ ? "predicates" : "functors"
        split(line, f, /[:(;]/); a = f[5]; sub(/^ */, "", a); sub(/ aty\).*/, "", a)
        h[kind] = num(f[2]) " " num(f[4]) " " a
      } else if (line ~ /^Number of variables/) {
        split(line, f, /[:(;]/); h["variables"] = num(f[2]) " " num(f[3])
      }
      next
    }
    # Report lines: an optional "Syntax:", a tab, the label, a tab, the numbers.
    /Number of clauses:/ { split($0, f, /[\t(;]/); r["clauses"] = num(f[3]) " " num(f[5]) " " num(f[4]) }
    /Number of literals:/ { split($0, f, /[\t(]/); r["literals"] = num(f[3]) " " num(f[4]) }
    /Maximal clause size:/ { split($0, f, /\t/); r["size"] = num(f[3]) }
    /Number of (predicates|functors):/ {
      kind = $0 ~ /predicates/ ? "predicates" : "functors"
      split($0, f, /[\t(;]/); a = f[5]; sub(/^ */, "", a); sub(/ arity\).*/, "", a)
      r[kind] = num(f[3]) " " num(f[4]) " " a
    }
    /Number of variables:/ { split($0, f, /[\t(]/); r["variables"] = num(f[3]) " " num(f[4]) }
    END {
      if (!seen) { print "noheader"; exit }
      n = split("clauses literals size predicates functors variables", keys, " ")
      for (k = 1; k <= n; k++)
        if (!(keys[k] in r) || h[keys[k]] != r[keys[k]]) {
          out = out " " keys[k] ": header [" h[keys[k]] "] report [" r[keys[k]] "]"
        }
      print out == "" ? "match" : "mismatch" out
    }' <(sed '/^[^%]/q' "$file") "$work/out/$name.report")
  case $verdict in
    match) matches=$((matches + 1)) ;;
    noheader) ;;
    *) error "$name: problem report differs from the % Syntax header:${verdict#mismatch}" ;;
  esac
done
echo "TPTP problems: ${#problems[@]}, converted: ${#converted[@]}," \
  "refused (empty clause): ${#refused[@]}${refused[*]:+ (${refused[*]})}"
echo "problem report vs % Syntax header: $matches match," \
  "$(( ${#converted[@]} - matches )) without header or differing (differences are errors)"
echo

# 2. velkor under each setting.
settings=("" "-reg" "-foldup" "-reg -foldup")
echo "velkor, limit ${limit} s per problem, ${#converted[@]} problems"
printf '%-14s %7s %7s %9s %8s %14s %10s %14s\n' setting solved timeout satisf. checked \
  inferences cpu-s "inferences/s"
for setting in "${settings[@]}"; do
  solved=0 timeouts=0 sat=0 checked=0 inferences=0 cpu=0
  for name in "${converted[@]}"; do
    out=$work/out/$name.${setting// /}.velkor
    # shellcheck disable=SC2086 # the setting is a list of options
    read -r seconds status < <(limited "$out" "$velkor" -proof $setting "$work/full/$name.v")
    if grep -q "FORMULA IS SATISFIABLE" "$out"; then
      sat=$((sat + 1))
      error "velkor ${setting:-(default)} $name: FORMULA IS SATISFIABLE for an unsatisfiable problem"
    fi
    # A run stopped by the limit while printing its proof has not finished.
    if ((status != 0)) || ! grep -q "PROOF WITH" "$out"; then
      timeouts=$((timeouts + 1)) && continue
    fi
    solved=$((solved + 1))
    count=$(awk '/^Lev\. / {
        header = $0; sub(/^Lev\. [0-9]+: inferences: /, "", header); sub(/: .*/, "", header)
        n = split(header, word, " "); split($0, tail, ": "); split(tail[4], value, " ")
        for (k = 1; k <= n; k++) if (word[k] != "constr") total += value[k]
      } END { print total + 0 }' "$out")
    inferences=$((inferences + count))
    cpu=$(awk -v a="$cpu" -v b="$seconds" 'BEGIN { printf "%.3f", a + b }')
    if [[ -n $checker ]]; then
      if "$checker" --quorvel "$quorvel" --problem "$work/full/$name.v" "$out" >"$out.check" 2>&1; then
        checked=$((checked + 1))
      else
        error "velkor ${setting:-(default)} $name: the proof does not check: $(head -c 500 "$out.check")"
      fi
    fi
  done
  printf '%-14s %7d %7d %9d %8s %14d %10.2f %14s\n' "${setting:-default}" "$solved" "$timeouts" \
    "$sat" "${checker:+$checked}" "$inferences" "$cpu" "$(rate "$inferences" "$cpu")"
done
echo

# 3. quorvel over the SATLIB instances.
declare -A count branches seconds models
families=()
for file in "$satlib"/*.cnf; do
  family=$(basename "$file" .cnf)
  family=${family%%-*}
  if $short && [[ ! $family =~ ^(uf20|uf50|uuf50)$ ]]; then continue; fi
  if [[ -z ${count[$family]+set} ]]; then
    families+=("$family")
    count[$family]=0 branches[$family]=0 seconds[$family]=0 models[$family]=0
  fi
  out=$work/out/$(basename "$file" .cnf).quorvel
  read -r t status < <(limit=600 limited "$out" "$quorvel" -negmodel "$file")
  line=$(grep -E '^(un)?satisfiable: ' "$out" | tail -n 1)
  case "$family:$line" in
    uf*:satisfiable:* | uuf*:unsatisfiable:*) ;;
    *) error "quorvel $(basename "$file"): wrong or no verdict: ${line:-$(tail -n 1 "$out")}" && continue ;;
  esac
  if [[ $line == satisfiable:* ]]; then
    # Every clause must have a literal that the printed model makes true.
    falsified=$(awk '
      FNR == NR {
        if ($0 ~ /^ *-?[0-9]/ && !done) for (k = 1; k <= NF; k++) value[$k + 0 < 0 ? -$k : $k] = ($k + 0 > 0)
        if ($0 ~ /satisfiable: /) done = 1
        next
      }
      /^%/ { stop = 1 } stop || /^[cp]/ { next }
      {
        for (k = 1; k <= NF; k++) {
          if ($k == 0) { if (!ok) bad++; ok = 0; continue }
          a = $k < 0 ? -$k : $k
          if ((a in value) && value[a] == ($k > 0)) ok = 1
        }
      }
      END { print bad + 0 }' "$out" "$file")
    if ((falsified > 0)); then
      error "quorvel $(basename "$file"): the model falsifies $falsified clauses"
    else
      models[$family]=$((models[$family] + 1))
    fi
  fi
  n=${line#*: }
  n=${n%% branches*}
  count[$family]=$((count[$family] + 1))
  branches[$family]=$((branches[$family] + n))
  seconds[$family]=$(awk -v a="${seconds[$family]}" -v b="$t" 'BEGIN { printf "%.3f", a + b }')
done
echo "quorvel over $satlib"
printf '%-8s %9s %14s %12s %9s %14s\n' family instances "models ok" branches cpu-s branches/s
total_branches=0 total_seconds=0
for family in $(printf '%s\n' "${families[@]}" | sort -V); do
  b=${branches[$family]} s=${seconds[$family]}
  total_branches=$((total_branches + b))
  total_seconds=$(awk -v a="$total_seconds" -v b="$s" 'BEGIN { printf "%.3f", a + b }')
  [[ $family == uuf* ]] && checked_models=- || checked_models=${models[$family]}
  printf '%-8s %9d %14s %12d %9.2f %14s\n' "$family" "${count[$family]}" "$checked_models" "$b" "$s" \
    "$(rate "$b" "$s")"
done
printf '%-8s %9s %14s %12d %9.2f %14s\n' total "" "" "$total_branches" "$total_seconds" \
  "$(rate "$total_branches" "$total_seconds")"
echo

if ((errors > 0)); then
  echo "$errors error(s)"
  exit 1
fi
echo "no errors"
