#!/usr/bin/env bash
# check-imports.sh [--requires-dll DLL]... OBJDUMP TABLE OLDEST BINARY...
# Checks every function that each Windows binary imports against TABLE
# (cmake/windows-imports.txt, an allow-list: DLL, function, the oldest
# Windows that has it). A function the table does not list fails, and so does
# one that is newer than OLDEST, the oldest Windows the binary must run on
# (95 98 Me NT4 2000 XP 2003 Vista 7 8 10). Wine offers all of these
# functions, so only a look at the import table catches a binary that an
# older Windows refuses to load, or whose calls end in a stub that fails.
#
# --requires-dll DLL: the binary needs DLL installed where its oldest
# Windows does not bring it (the C runtime msvcrt.dll on Windows 95 as first
# sold). The DLL's functions must still be listed, but their Windows is not
# held against OLDEST.
set -euo pipefail
required=""
while [ "${1:-}" = "--requires-dll" ]; do
    required="$required ${2:?--requires-dll needs a DLL name}"
    shift 2
done
if [ $# -lt 4 ]; then
    echo "usage: check-imports.sh [--requires-dll DLL]... OBJDUMP TABLE OLDEST BINARY..." >&2
    exit 2
fi
objdump=$1 table=$2 oldest=$3
shift 3

status=0
for binary in "$@"; do
    # "DLL function" per imported function; a function imported by ordinal
    # alone has no name to check and is reported as such.
    imports=$("$objdump" -p "$binary" | awk '
        /DLL Name:/ { dll = $3; next }
        /^$/ { dll = "" }
        dll != "" && /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_?@]/ { print dll, $3; next }
        dll != "" && /^\t[0-9a-f]+[ \t]+<none>/ { print dll, "<ordinal " $3 ">" }
    ')
    if [ -z "$imports" ]; then
        echo "error: $binary: no imports found (is it a Windows binary?)" >&2
        status=1
        continue
    fi
    printf '%s\n' "$imports" | awk -v table="$table" -v oldest="$oldest" -v binary="$(basename "$binary")" \
                                   -v required="$required" '
        BEGIN {
            split(tolower(required), requiredList, " ")
            for (i in requiredList) requires[requiredList[i]] = 1
            n = split("95 98 Me NT4 2000 XP 2003 Vista 7 8 10", order, " ")
            for (i = 1; i <= n; ++i) rank[order[i]] = i
            if (!(oldest in rank)) {
                printf "error: %s: unknown oldest Windows \"%s\" (one of 95 98 Me NT4 2000 XP 2003 Vista 7 8 10)\n", binary, oldest > "/dev/stderr"
                failed = 1; exit
            }
            while ((getline line < table) > 0) {
                ++lineNo
                sub(/#.*/, "", line)
                if (split(line, f, " ") == 0) continue
                if (!(f[3] in rank)) {
                    printf "error: %s:%d: \"%s\" is not a Windows version\n", table, lineNo, f[3] > "/dev/stderr"
                    failed = 1; exit
                }
                needs[tolower(f[1]) " " f[2]] = f[3]
            }
            if (lineNo == 0) {
                printf "error: cannot read the import table %s\n", table > "/dev/stderr"
                failed = 1; exit
            }
        }
        {
            key = tolower($1) " " $2
            if (!(key in needs)) {
                printf "error: %s imports %s:%s, which %s does not list: add it with the oldest Windows that has it\n", binary, $1, $2, table > "/dev/stderr"
                failed = 1
            } else if (tolower($1) in requires) {
                usesRequired[tolower($1)] = 1
            } else if (rank[needs[key]] > rank[oldest]) {
                printf "error: %s imports %s:%s, which needs Windows %s; %s must run on Windows %s\n", binary, $1, $2, needs[key], binary, oldest > "/dev/stderr"
                failed = 1
            }
        }
        END {
            for (dll in requires)
                if (!(dll in usesRequired))
                    printf "note: %s is declared to require %s but imports nothing from it\n", binary, dll > "/dev/stderr"
            exit failed
        }
    ' || status=1
done
exit $status
