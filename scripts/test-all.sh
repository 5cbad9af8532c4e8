#!/usr/bin/env bash
# Builds every preset and runs every test: natively, under the sanitizers and,
# for the Windows build, under Wine. Installs what a fresh machine lacks first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

run() { echo "== $*"; "$@"; }

for preset in native native-asan win32-test; do
    run cmake --preset "$preset" >/dev/null
    run cmake --build --preset "$preset"
    run ctest --preset "$preset"
done

# The shipped Windows binaries (imports checked at link) and the optimised
# build with the benchmarks, built to prove they compile.
for preset in win32 release; do
    run cmake --preset "$preset" >/dev/null
    run cmake --build --preset "$preset"
done
run ctest --preset release

# Every fuzz harness for a few seconds on its seed corpus (about a minute
# with the fuzz build).
run scripts/fuzz-smoke.sh
