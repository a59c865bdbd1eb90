#!/usr/bin/env bash
# Corpus run over TPTP problems and SATLIB instances: by default the samples
# kept in the repository (tests/data), or whole libraries:
#
#  1. every clause problem (a name with "-") converted with tptp-to-velkor
#     without equality axioms and with tautologies kept, and the problem
#     report velkor prints for it compared with the file's "% Syntax" header;
#  2. velkor on every clause and first-order problem (names with "-" and
#     "+"), read directly, with -proof and a CPU-time limit, under the
#     settings default, -reg, -foldup, -reg -foldup, -reg -sgindex
#     -indexfoldup and --auto, through bench/corpus/velkor-runs: every
#     CNFRefutation is checked with proof-check;
#  3. quorvel -negmodel on every SATLIB instance: the verdict (uf* must be
#     satisfiable, uuf* unsatisfiable), the model checked against the
#     clauses, branches and branches per CPU second.
#
# Runs go N at a time (-j N, default: the number of cores).  Every velkor and
# quorvel run becomes one line of the results file (CSV, --results FILE,
# default corpus-results.csv): problem,configuration,status,cpu_seconds,
# inferences,proof_checked,max_rss_kib.  quorvel's lines have the
# configuration "quorvel -negmodel", its branches as inferences, and "yes" in
# proof_checked for a model that satisfies every clause.  bench/compare
# compares such files.
#
# Errors, listed as ERROR: lines, make the exit status 1: a conversion
# failure, a report that differs from its header, a run without an SZS status
# line (or with Error, InputError, SyntaxError), Satisfiable or
# CounterSatisfiable for a problem whose header says Unsatisfiable or
# Theorem (or the other way round), a refutation that does not check, a
# wrong quorvel verdict, a model that falsifies a clause.
#
#   bench/corpus/run.sh [--short] [-j N] [--limit SECONDS] [--results FILE]
#                       [--build DIR] [--tptp DIR]... [--satlib DIR] [--data DIR]
#                       [--config 'OPTIONS']... [--velkor PATH] [--quorvel PATH]
#                       [--converter PATH] [--proof-check PATH] [--keep DIR]
#
# --tptp DIR is a TPTP library root (DIR/Problems, DIR/Axioms), and may be
# given more than once; default: the TPTP environment variable, else the
# repository's samples tests/data/tptp and tests/data/tptp-fof.  --satlib DIR
# holds *.cnf instances; default tests/data/satlib.  --data DIR stands for
# --tptp DIR/tptp --tptp DIR/tptp-fof --satlib DIR/satlib (those that exist).
# --config replaces the six settings of step 2 (repeat it for several).
#
# The long form (default) has a limit of 10 s of CPU per velkor run (--limit
# S, a decimal number, velkor's --time-limit); it uses the release build in
# build/ and builds the programs there first unless their paths are given.
# --short (0.2 s per run, only the uf20, uf50 and uuf50 families) finishes in
# seconds on the samples; CTest runs it.  --keep DIR keeps every output.
set -uo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)

# Worker of step 1 (xargs starts one per problem): prints NAME, a tab and
# the verdict (match, noheader, refused, convert: MESSAGE, mismatch ...).
if [[ ${1:-} == --header-one ]]; then
  converter=$2 velkor=$3 work=$4 file=$5
  name=$(basename "$file" .p)
  if ! "$converter" --no-equality-axioms --keep-tautologies "$file" >"$work/$name.v" \
    2>"$work/$name.convert"; then
    # The converter refuses only what velkor's syntax cannot hold (an empty
    # clause) and then says why; anything else is a conversion fault.
    if grep -q "empty" "$work/$name.convert"; then verdict=refused; else
      verdict="convert: $(head -c 300 "$work/$name.convert" | tr '\n' ' ')"
    fi
    printf '%s\t%s\n' "$name" "$verdict"
    exit 0
  fi
  # Level 1 alone is enough for the report, which comes first.
  timeout -s KILL 20 "$velkor" -d 1 "$work/$name.v" >"$work/$name.report" 2>&1
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
    }' <(sed '/^[^%]/q' "$file") "$work/$name.report")
  printf '%s\t%s\n' "$name" "$verdict"
  exit 0
fi

# Worker of step 3: one quorvel run, printed as a results line.
if [[ ${1:-} == --quorvel-one ]]; then
  quorvel=$2 keep=$3 file=$4
  name=$(basename "$file" .cnf)
  out=$(mktemp)
  ulimit -c 0
  if [[ -x /usr/bin/time ]]; then
    (ulimit -t 600 && exec /usr/bin/time -f '%U %S %M' -o "$out.time" "$quorvel" -negmodel "$file") \
      >"$out" 2>&1
  else
    { TIMEFORMAT='%U %S -'; time (ulimit -t 600 && "$quorvel" -negmodel "$file" >"$out" 2>&1); } \
      2>"$out.time"
  fi
  # A run that exits non-zero gets a line about it before the figures.
  read -r user sys rss < <(tail -n 1 "$out.time")
  line=$(grep -E '^(un)?satisfiable: ' "$out" | tail -n 1)
  status=none checked=- branches=0
  case $line in
    satisfiable:*) status=Satisfiable ;;
    unsatisfiable:*) status=Unsatisfiable ;;
  esac
  if [[ $status != none ]]; then branches=${line#*: } branches=${branches%% branches*}; fi
  if [[ $status == Satisfiable ]]; then
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
    ((falsified == 0)) && checked=yes || checked=no
  fi
  [[ -n $keep ]] && cp "$out" "$keep/$name.quorvel"
  rm -f "$out" "$out.time"
  printf '%s,"quorvel -negmodel",%s,%.3f,%s,%s,%s\n' "$name" "$status" \
    "$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')" "$branches" "$checked" "$rss"
  exit 0
fi

short=false jobs=$(nproc) build=$root/build limit= results=corpus-results.csv keep=
roots=() satlib= velkor= quorvel= converter= checker= configs=()
usage() { sed -n '2,/^set -uo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 2; }
while (($#)); do
  case $1 in
    --short) short=true ;;
    -j) jobs=${2:?} && shift ;;
    --build) build=${2:?} && shift ;;
    --limit) limit=${2:?} && shift ;;
    --results) results=${2:?} && shift ;;
    --config) configs+=("$2") && shift ;;
    --velkor) velkor=${2:?} && shift ;;
    --quorvel) quorvel=${2:?} && shift ;;
    --converter) converter=${2:?} && shift ;;
    --proof-check) checker=${2:?} && shift ;;
    --tptp) roots+=("${2:?}") && shift ;;
    --satlib) satlib=${2:?} && shift ;;
    --data)
      for sub in tptp tptp-fof; do [[ -d ${2:?}/$sub ]] && roots+=("$2/$sub"); done
      satlib=$2/satlib && shift ;;
    --keep) keep=${2:?} && shift ;;
    -h | --help) usage ;;
    *) echo "run.sh: unknown argument $1" >&2 && usage ;;
  esac
  shift
done
[[ $jobs =~ ^[1-9][0-9]*$ ]] || { echo "run.sh: -j needs a positive number" >&2; exit 2; }
if ((${#roots[@]} == 0)); then
  if [[ -n ${TPTP:-} ]]; then roots=("$TPTP"); else
    roots=("$root/tests/data/tptp" "$root/tests/data/tptp-fof")
  fi
fi
satlib=${satlib:-$root/tests/data/satlib}
if $short; then limit=${limit:-0.2}; else limit=${limit:-10}; fi
[[ $limit =~ ^[0-9]+(\.[0-9]+)?$ && ! $limit =~ ^[0.]+$ ]] ||
  { echo "run.sh: --limit needs a positive number of seconds" >&2; exit 2; }
((${#configs[@]})) || configs=("" "-reg" "-foldup" "-reg -foldup" "-reg -sgindex -indexfoldup" "--auto")

if [[ -z $velkor$quorvel$converter$checker ]] && ! $short; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$build" --target velkor quorvel tptp-to-velkor proof-check >/dev/null ||
    { echo "run.sh: cannot build in $build" >&2; exit 2; }
fi
velkor=${velkor:-$build/prover/velkor}
quorvel=${quorvel:-$build/modelgen/quorvel}
converter=${converter:-$build/tools/tptp_to_velkor/tptp-to-velkor}
checker=${checker:-$build/tools/proof_check/proof-check}
for program in "$velkor" "$quorvel" "$converter"; do
  [[ -x $program ]] || { echo "run.sh: $program is missing; build it first" >&2; exit 2; }
done
for dir in "${roots[@]}"; do
  [[ -d $dir/Problems ]] || { echo "run.sh: no TPTP problems under $dir/Problems" >&2; exit 2; }
done
[[ -d $satlib ]] || { echo "run.sh: no SATLIB folder $satlib" >&2; exit 2; }
case $results in /*) ;; *) results=$PWD/$results ;; esac

if [[ -n $keep ]]; then
  work=$keep && mkdir -p "$work"
else
  work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work/plain" "$work/velkor" "$work/quorvel"

errors=0
error() {
  echo "ERROR: $*"
  errors=$((errors + 1))
}

# Flat, or in domain folders as in the TPTP library.  Includes are resolved
# against the library root when there is one, else (several roots) against
# the nearest folder above each problem that holds them.
find "${roots[@]/%//Problems}" -name '*-*.p' | sort >"$work/cnf"
find "${roots[@]/%//Problems}" -name '*.p' \( -name '*-*' -o -name '*+*' \) | sort >"$work/problems"
if ((${#roots[@]} == 1)); then export TPTP=${roots[0]}; else unset TPTP; fi

# 1. Conversion and the problem report against the "% Syntax" header.
tr '\n' '\0' <"$work/cnf" |
  xargs -0 -n 1 -P "$jobs" bash "$0" --header-one "$converter" "$velkor" "$work/plain" |
  sort >"$work/headers"
converted=0 matches=0 refused=()
while IFS=$'\t' read -r name verdict; do
  case $verdict in
    refused) refused+=("$name") && continue ;;
    convert:*) error "$name: conversion failed: ${verdict#convert: }" && continue ;;
    match) matches=$((matches + 1)) ;;
    noheader) ;;
    *) error "$name: problem report differs from the % Syntax header:${verdict#mismatch}" ;;
  esac
  converted=$((converted + 1))
done <"$work/headers"
echo "clause problems: $(wc -l <"$work/cnf"), converted: $converted," \
  "refused (empty clause): ${#refused[@]}${refused[*]:+ (${refused[*]})}"
echo "problem report vs % Syntax header: $matches match," \
  "$((converted - matches)) without header or differing (differences are errors)"
echo

# 2. velkor under each setting, on the problem files themselves.
echo "velkor, $(wc -l <"$work/problems") problems, limit $limit s of CPU per run, -j $jobs"
settings=()
for config in "${configs[@]}"; do settings+=(--config "$config"); done
"$root/bench/corpus/velkor-runs" -j "$jobs" --limit "$limit" "${settings[@]}" --velkor "$velkor" \
  --proof-check "$checker" --quorvel "$quorvel" --results "$results" \
  ${keep:+--keep "$work/velkor"} --problems "$work/problems" >"$work/velkor-summary"
(($? == 2)) && exit 2
cat "$work/velkor-summary"
while IFS= read -r line; do errors=$((errors + 1)); done < <(grep '^ERROR: ' "$work/velkor-summary")
echo

# 3. quorvel over the SATLIB instances, its lines added to the results.
find "$satlib" -maxdepth 1 -name '*.cnf' | sort | while IFS= read -r file; do
  family=$(basename "$file" .cnf) family=${family%%-*}
  if $short && [[ ! $family =~ ^(uf20|uf50|uuf50)$ ]]; then continue; fi
  printf '%s\0' "$file"
done | xargs -0 -n 1 -P "$jobs" bash "$0" --quorvel-one "$quorvel" "${keep:+$work/quorvel}" |
  sort >"$work/quorvel.csv"
cat "$work/quorvel.csv" >>"$results"
echo "quorvel over $satlib"
while IFS=, read -r name config status cpu branches checked rss; do
  case "$name:$status" in
    uf*:Satisfiable | uuf*:Unsatisfiable) ;;
    *) error "quorvel $name: wrong or no verdict: $status" ;;
  esac
  [[ $checked == no ]] && error "quorvel $name: the model falsifies a clause"
done <"$work/quorvel.csv"
awk -F, '
  function rate(n, s) { return s < 0.05 ? "-" : sprintf("%.0f", n / s) }
  {
    f = $1; sub(/-.*/, "", f)
    if (!(f in count)) families[++n] = f
    count[f]++; branches[f] += $5; cpu[f] += $4; if ($6 == "yes") models[f]++
    all_branches += $5; all_cpu += $4
  }
  END {
    printf "%-8s %9s %14s %12s %9s %14s\n", "family", "instances", "models ok", "branches", "cpu-s", "branches/s"
    for (i = 1; i <= n; i++) {
      f = families[i]
      printf "%-8s %9d %14s %12d %9.2f %14s\n", f, count[f], f ~ /^uuf/ ? "-" : models[f] + 0,
        branches[f], cpu[f], rate(branches[f], cpu[f])
    }
    printf "%-8s %9s %14s %12d %9.2f %14s\n", "total", "", "", all_branches, all_cpu, rate(all_branches, all_cpu)
  }' <(sort -t, -k1,1V "$work/quorvel.csv")
echo

awk -F, 'NR > 1 && $7 != "-" && $7 + 0 > rss { rss = $7 + 0; what = $1 " under " $2 }
  END { if (what != "") print "largest resident set of any run: " rss " KiB (" what ")" }' "$results"
echo "results: $results"
if ((errors > 0)); then
  echo "$errors error(s)"
  exit 1
fi
echo "no errors"
