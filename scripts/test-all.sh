#!/usr/bin/env bash
# Builds every preset and runs every test: natively, under the sanitizers and,
# for the Windows build, under Wine; ThreadSanitizer for the tests of
# concurrent documents; the layout and clang-tidy checks; every fuzz harness
# for a few seconds. Installs what a fresh machine lacks first. Each step
# says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

run() { echo "== $*"; "$@"; }

timings=()
step() {
    local name=$1 started=$SECONDS
    shift
    echo "==== $name"
    "$@"
    timings+=("$(printf '%-12s %4d s' "$name" $((SECONDS - started)))")
}

preset_tests() {
    run cmake --preset "$1" >/dev/null
    run cmake --build --preset "$1"
    run ctest --preset "$1"
}

# ThreadSanitizer on what documents printing at the same time share: two
# jobs on two threads through the entry points, the module bridges and the
# system layer's lock. Only these test programs are built (a sanitizer
# report makes them exit with 66).
tsan_tests() {
    run cmake --preset native-tsan >/dev/null
    run cmake --build --preset native-tsan --target entry_points_tests modules_tests sys_tests
    run build/native-tsan/tests/entry_points_tests --gtest_filter='ConcurrentDocuments.*'
    run build/native-tsan/tests/modules_tests
    run build/native-tsan/tests/sys_tests
}

# The shipped Windows binaries: imports checked at link against the
# allow-list.
build_only() {
    run cmake --preset "$1" >/dev/null
    run cmake --build --preset "$1"
}

step lint-format scripts/lint.sh format
step native preset_tests native
step lint-tidy scripts/lint.sh tidy
step native-asan preset_tests native-asan
step win32-test preset_tests win32-test
step native-tsan tsan_tests
step win32 build_only win32
# The optimised build: the tests once more, and the benchmarks.
step release preset_tests release
# Every fuzz harness for a few seconds on its seed corpus.
step fuzz run scripts/fuzz-smoke.sh

echo "==== time per step"
printf '%s\n' "${timings[@]}"
