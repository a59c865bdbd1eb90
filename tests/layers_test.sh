#!/usr/bin/env bash
# The layers of the code, checked on its include lines: the TPTP library
# knows TPTP only; the tableau search knows no TPTP and no engine; the
# engines know the problem, not the driver that runs them; quorvel stands
# alone.  A new include across a layer fails here with the line that made it.
#
#   tests/layers_test.sh [SOURCE_DIR]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"
status=0
# forbid FOLDERS PATTERN WHY: no file under FOLDERS includes a header that
# matches PATTERN.
forbid() {
  local folders=$1 pattern=$2 why=$3 hits
  # shellcheck disable=SC2086 # a list of folders
  hits=$(grep -rn -E "^#include \"($pattern)" $folders --include='*.cpp' --include='*.hpp' \
    --include='*.in' 2>/dev/null)
  if [[ -n $hits ]]; then
    echo "$why:"
    echo "$hits"
    status=1
  fi
}
forbid tptp 'prover/|modelgen/' "the TPTP library includes prover or model-generator code"
forbid "prover/search prover/support prover/terms prover/input" \
  'tptp/|prover/(driver|problem|models|equality|saturation|select)/' \
  "the tableau search includes the TPTP library, the problem or another engine"
forbid "prover/problem prover/models prover/equality prover/saturation prover/select" \
  'prover/driver/' "an engine includes the driver"
forbid modelgen 'prover/|tptp/' "quorvel includes velkor's code"
exit $status
