#!/usr/bin/env bash
# Packages the velkor under test as a StarExec solver, unpacks the archive in
# a fresh folder and starts every bin/starexec_run_* script as StarExec
# does: the problem's path as $1, the limits in the environment, a working
# directory of its own, nothing else in the environment.  Checks the SZS
# lines and the refutation (with proof-check), and that a problem the
# configuration cannot solve ends with Timeout within the CPU limit.
#
#   starexec_package_test.sh VELKOR PROOF-CHECK QUORVEL
set -uo pipefail
velkor=$1 checker=$2 quorvel=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

"$root/tools/starexec-package" --velkor "$velkor" --output "$work/velkor.tgz" >/dev/null \
  2>"$work/package.err" || { cat "$work/package.err"; echo "FAIL: no package"; exit 1; }
mkdir "$work/solver" "$work/problems"
tar -xzf "$work/velkor.tgz" -C "$work/solver" || { echo "FAIL: archive does not unpack"; exit 1; }
[[ -s $work/solver/starexec_description.txt ]] || fail "no starexec_description.txt"
scripts=("$work"/solver/bin/starexec_run_*)
[[ ${#scripts[@]} == 4 && -x $work/solver/bin/starexec_run_default ]] ||
  fail "expected 4 run scripts with starexec_run_default, found: ${scripts[*]##*/}"

# StarExec hands each job a copy of the benchmark (these need no includes).
data=$root/tests/data
cp "$data/tptp/Problems/SYN069-1.p" "$data/tptp-fof/Problems/SYN068+1.p" \
  "$data/tptp/Problems/SYN067-1.p" "$work/problems/"

# run SCRIPT PROBLEM CPU-LIMIT WALL-LIMIT: leaves the output in $job/out and
# the CPU seconds of the whole run (script, shell, velkor) in $cpu.
run() {
  job=$(mktemp -d "$work/job.XXXX")
  local env=(PATH=/usr/bin:/bin HOME="$job")
  [[ -n $3 ]] && env+=(STAREXEC_CPU_LIMIT="$3")
  [[ -n $4 ]] && env+=(STAREXEC_WALLCLOCK_LIMIT="$4")
  # A wall-clock backstop so that a script that does not stop fails the test
  # instead of hanging it.
  cpu=$(cd "$job" && { TIMEFORMAT='%U %S'; time (env -i "${env[@]}" timeout -s KILL 120 \
    "$1" "$work/problems/$2.p" >"$job/out" 2>"$job/err"); } 2>&1 |
    awk '{ printf "%.2f", $1 + $2 }')
}

for script in "${scripts[@]}"; do
  config=${script##*starexec_run_}
  for case in SYN069-1:Unsatisfiable SYN068+1:Theorem; do
    problem=${case%%:*} answer=${case#*:}
    run "$script" "$problem" 10 20
    # The status line, then the refutation to the end.
    status=$(grep -n "^% SZS status" "$job/out")
    [[ $status == *":% SZS status $answer for $problem" ]] || fail "$config $problem: '$status'"
    [[ $(sed -n "$((${status%%:*} + 1))p" "$job/out") == "% SZS output start CNFRefutation for $problem" &&
      $(tail -n 1 "$job/out") == "% SZS output end CNFRefutation for $problem" ]] ||
      fail "$config $problem: no refutation after the status line"
    "$checker" --quorvel "$quorvel" "$job/out" >"$job/check" 2>&1 ||
      fail "$config $problem: the refutation does not check: $(head -c 300 "$job/check")"
  done
  # A CPU limit of 2 s, or a wall-clock limit of 2 s below a larger CPU
  # limit: either way the run stops on its own, within the CPU limit of all
  # its processes together (the default configuration uses every core).
  limits=("2 20")
  [[ $config == default ]] && limits+=("10 2")
  for pair in "${limits[@]}"; do
    read -r cpu_limit wall_limit <<<"$pair"
    run "$script" SYN067-1 "$cpu_limit" "$wall_limit"
    last=$(tail -n 1 "$job/out")
    [[ $last == "% SZS status Timeout for SYN067-1" ]] ||
      fail "$config SYN067-1 (limits $pair): last line '$last'"
    awk -v t="$cpu" -v c="$cpu_limit" 'BEGIN { exit !(t <= c) }' ||
      fail "$config SYN067-1 (limits $pair): $cpu s of CPU"
  done
done

# Without limits (started by hand) the default configuration still answers.
run "$work/solver/bin/starexec_run_default" SYN069-1 "" ""
grep -qx "% SZS status Unsatisfiable for SYN069-1" "$job/out" ||
  fail "default without limits: $(grep '^% SZS status' "$job/out")"

((failures == 0)) || { echo "$failures failure(s)"; exit 1; }
echo "all run scripts answer as expected"
