#!/usr/bin/env bash
# bench/compare on a results file of the corpus run and a job CSV written as
# StarExec writes them (columns in another order, a path as benchmark, the
# SZS status in "result", CRLF line ends, quoted fields): what each solved,
# what one solved and the other not, the merged file, the exit statuses.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
compare=$root/bench/compare
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_line() {  # OUTPUT-FILE LINE
  grep -qxF -- "$2" "$1" || { fail "no line '$2' in:"; cat "$1"; }
}

cat >"$work/local.csv" <<'EOF'
problem,configuration,status,cpu_seconds,inferences,proof_checked,max_rss_kib
P1,"--auto",Theorem,0.100,10,yes,4000
P2,"--auto",Timeout,10.000,99,-,4000
P3,"--auto",Unsatisfiable,1.500,10,yes,4000
P4,"--auto",GaveUp,0.200,10,-,4000
EOF
printf '%s\r\n' 'pair id,benchmark,solver,configuration,status,cpu time,wallclock time,result' \
  '1,TPTP/Problems/SYN/P1.p,velkor,default,complete,0.2,0.3,theorem' \
  '2,TPTP/Problems/SYN/P2.p,velkor,default,complete,3.5,3.6,Unsatisfiable' \
  '3,TPTP/Problems/SYN/P3.p,velkor,default,timeout (cpu),10,10,' \
  '4,"TPTP/Problems/SYN/P4.p",velkor,"default",complete,0.1,0.1,"Timeout"' >"$work/job.csv"

"$compare" --no-plot --only local:--auto --only starexec:default --merge "$work/merged.csv" \
  local="$work/local.csv" starexec="$work/job.csv" >"$work/out" 2>&1
status=$?
((status == 0)) || fail "exit status $status"
expect_line "$work/out" "  solved by both: 1"
expect_line "$work/out" "  solved only by local:--auto: 1 (P3)"
expect_line "$work/out" "  solved only by starexec:default: 1 (P2)"
expect_line "$work/out" "  other status changes: 1 (P4: GaveUp -> Timeout)"
cat >"$work/expected.csv" <<'EOF'
problem,configuration,status,cpu_seconds,inferences,proof_checked,max_rss_kib
P1,"local:--auto",Theorem,0.100,10,yes,4000
P1,"starexec:default",Theorem,0.200,-,-,-
P2,"local:--auto",Timeout,10.000,99,-,4000
P2,"starexec:default",Unsatisfiable,3.500,-,-,-
P3,"local:--auto",Unsatisfiable,1.500,10,yes,4000
P3,"starexec:default",Timeout,10.000,-,-,-
P4,"local:--auto",GaveUp,0.200,10,-,4000
P4,"starexec:default",Timeout,0.100,-,-,-
EOF
diff "$work/expected.csv" "$work/merged.csv" || fail "merged file differs"

# The merged file reads back as the same comparison; a plot when gnuplot is
# there, a note when it is not.
"$compare" --only local:--auto --only starexec:default --plot "$work/cactus.png" \
  "$work/merged.csv" >"$work/out2" 2>&1 || fail "merged file: exit status $?"
expect_line "$work/out2" "  solved only by starexec:default: 1 (P2)"
if command -v gnuplot >/dev/null; then
  [[ $(head -c 4 "$work/cactus.png" | od -An -c | tr -d ' ') == 211PNG ]] || fail "no PNG plot"
else
  grep -q "no cactus plot" "$work/out2" || fail "no note about the missing plot"
fi

# Contradictory answers: exit status 1, also beside thousands of runs solved
# in the same time (which once overflowed awk's stack while sorting); a file
# that names no problem column: 2.
{
  printf 'problem,configuration,status,cpu_seconds\nP1,x,CounterSatisfiable,0.0\n'
  for ((k = 0; k < 3000; k++)); do echo "Q$k,x,Theorem,0.000"; done
} >"$work/wrong.csv"
"$compare" --no-plot "$work/local.csv" "$work/wrong.csv" >"$work/out3" 2>&1
status=$?
((status == 1)) && grep -q "CONTRADICTORY ANSWERS: 1 (P1 " "$work/out3" ||
  fail "contradiction: exit status $status: $(cat "$work/out3")"
printf 'name,answer\nP1,Theorem\n' >"$work/bad.csv"
"$compare" --no-plot "$work/bad.csv" >"$work/out4" 2>&1
status=$?
((status == 2)) || fail "unusable file: exit status $status"

((failures == 0)) || { echo "$failures failure(s)"; exit 1; }
echo "compare: all cases as expected"
