#!/usr/bin/env bash
# Lint: the layout check (clang-format --dry-run -Werror, .clang-format) over
# the tracked C++ sources, and clang-tidy (.clang-tidy) over the project's own
# sources in the native preset's compile_commands.json (not GoogleTest's,
# not the generated threshold matrices). Fails on any finding; the findings
# and their count per check go to out/lint/.
#
#   scripts/lint.sh           both
#   scripts/lint.sh format    the layout only
#   scripts/lint.sh tidy      clang-tidy only
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
out=out/lint
mkdir -p "$out"
# Written by a generator, checked in as it writes them.
generated=render/engine/threshold_matrices.cpp

check_format() {
    echo "== clang-format: the layout of the tracked sources"
    if git ls-files '*.cpp' '*.h' | grep -vxF "$generated" |
            xargs -P "$jobs" -n 16 clang-format-14 --dry-run -Werror >"$out/format.txt" 2>&1; then
        echo "layout as .clang-format says"
    else
        local files
        files=$(grep -Eo '^[^:]+:[0-9]+:[0-9]+: error' "$out/format.txt" | cut -d: -f1 | sort -u | wc -l)
        echo "error: $files files differ from .clang-format (scripts/lint.sh format; $out/format.txt)" >&2
        return 1
    fi
}

check_tidy() {
    echo "== clang-tidy: the project's own sources"
    [ -f build/native/compile_commands.json ] || cmake --preset native >/dev/null
    local root own
    root=$(pwd)
    own="$root/(render|sys|formats|encode|setup|ui|vlauto|tools|outside|fuzz|tests|bench)/"
    # Every source once; the findings in our headers once, however many
    # sources include them. GCC's warning options are unknown to clang.
    python3 -c 'import json, sys; print("\n".join(sorted({c["file"] for c in json.load(open(sys.argv[1]))})))' \
            build/native/compile_commands.json | grep -E "^$own.*\.cpp\$" | grep -vxF "$root/$generated" |
        grep -v "^$root/tests/layering/" |
        xargs -P "$jobs" -n 1 clang-tidy-14 -p build/native --quiet --header-filter="$own" \
            --extra-arg=-Wno-unknown-warning-option >"$out/tidy-raw.txt" 2>/dev/null || true
    grep -E '^/[^ ]+:[0-9]+:[0-9]+: (warning|error): .* \[[a-zA-Z0-9.,-]+\]$' "$out/tidy-raw.txt" |
        sed "s|^$root/||" | sort -u >"$out/tidy.txt" || true
    if grep -q 'clang-diagnostic-error' "$out/tidy.txt"; then
        echo "error: clang-tidy could not compile some sources ($out/tidy.txt)" >&2
        return 1
    fi
    local count
    count=$(wc -l <"$out/tidy.txt")
    if [ "$count" -eq 0 ]; then
        echo "no findings"
        return 0
    fi
    echo "error: $count clang-tidy findings ($out/tidy.txt), per check:" >&2
    sed -E 's/.*\[([a-zA-Z0-9.,-]+)\]$/\1/' "$out/tidy.txt" | sort | uniq -c | sort -rn >&2
    return 1
}

steps=("$@")
[ ${#steps[@]} -eq 0 ] && steps=(format tidy)
status=0
for step in "${steps[@]}"; do
    case $step in
        format) check_format || status=1 ;;
        tidy) check_tidy || status=1 ;;
        *) echo "usage: scripts/lint.sh [format] [tidy]" >&2; exit 2 ;;
    esac
done
exit $status
