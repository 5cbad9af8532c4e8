#!/usr/bin/env bash
# Builds every preset and runs every test: natively, under the sanitizers and,
# for the Windows build, under Wine; ThreadSanitizer for the tests of
# concurrent documents. Installs what a fresh machine lacks first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

run() { echo "== $*"; "$@"; }

for preset in native native-asan win32-test; do
    run cmake --preset "$preset" >/dev/null
    run cmake --build --preset "$preset"
    run ctest --preset "$preset"
done

# ThreadSanitizer on what documents printing at the same time share: two
# jobs on two threads through the entry points, the module bridges and the
# system layer's lock. Only these test programs are built (a sanitizer
# report makes them exit with 66).
run cmake --preset native-tsan >/dev/null
run cmake --build --preset native-tsan --target entry_points_tests modules_tests sys_tests
run build/native-tsan/tests/entry_points_tests --gtest_filter='ConcurrentDocuments.*'
run build/native-tsan/tests/modules_tests
run build/native-tsan/tests/sys_tests

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
