#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, ASan and UBSan) and runs every
# harness for a short, bounded time on a copy of its seed corpus, as many at
# a time as there are cores. Fails when
# a harness crashes, leaks, times out on one input or runs out of memory; the
# input that did it is kept in out/fuzz/ (copy it into the harness's seed
# folder as crash_<what> once the fault is fixed, so that every build replays
# it).
#
#   scripts/fuzz-smoke.sh            every harness, FUZZ_SECONDS (10) each
#   FUZZ_SECONDS=300 scripts/fuzz-smoke.sh spooler   one harness, longer
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-10}
# harness name, then its seed folder
harnesses=(
    "compression_round_trip tests/data/fuzz/compression_round_trip"
    "install_info tests/data/fuzz/install_info"
    "plane_decoder tests/data/fuzz/plane_decoder"
    "playback tests/data/fuzz/playback"
    "recorded_file tests/data/fuzz/recorded_file"
    "stream_decoder tests/data/fuzz/stream_decoder"
    "spooler tests/data/malformed/spooler"
)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

out=out/fuzz
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One harness: its seeds copied (a fuzzer adds to its corpus folder), with
# the crash reproducers kept beside them, which run first like seeds.
fuzz() {
    local name=$1 seeds=$2 corpus=$work/$1 log=$out/$1.log
    mkdir -p "$corpus"
    cp "$seeds"/seed_* "$corpus"/
    cp "$seeds"/crash_* "$corpus"/ 2>/dev/null || true
    local extra=()
    [ "$name" = spooler ] && extra=(-max_len=65536)  # whole scripts of spooler calls
    [ -f "fuzz/$name.dict" ] && extra+=(-dict="fuzz/$name.dict")
    if build/fuzz/fuzz/${name}_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            "${extra[@]}" -artifact_prefix="$out/$name-" "$corpus" >"$log" 2>&1; then
        echo "== $name: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log")"
    else
        echo "error: $name failed (${seconds} s from the seeds of $seeds); the end of $log:" >&2
        tail -n 40 "$log" >&2
        return 1
    fi
}

# As many harnesses at a time as there are cores.
jobs=$(nproc)
running=0
status=0
for entry in "${harnesses[@]}"; do
    read -r name seeds <<<"$entry"
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
    if [ "$running" -ge "$jobs" ]; then
        wait -n || status=1
        running=$((running - 1))
    fi
    fuzz "$name" "$seeds" &
    running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
    wait -n || status=1
    running=$((running - 1))
done
exit $status
