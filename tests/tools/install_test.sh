#!/usr/bin/env bash
# cmake --install puts the four programs into PREFIX/bin; each answers
# --version with the release and --help with its usage; the installed
# proof-check finds the quorvel beside it.
set -uo pipefail
build=$1 data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install"
bin=$work/prefix/bin
for program in velkor quorvel tptp-to-velkor proof-check; do
  version=$("$bin/$program" --version) || fail "$program --version"
  [[ $version == "$program "[0-9]*.[0-9]*.[0-9]*" (commit "*")" ]] || fail "$program: '$version'"
  "$bin/$program" --help | grep -q -- "--version" || fail "$program --help"
done
"$bin/velkor" -proof "$data/tptp-fof/Problems/SYN068+1.p" >"$work/proof" || fail velkor
"$bin/proof-check" "$work/proof" >/dev/null || fail "the installed proof-check"
echo "installed and answering"
