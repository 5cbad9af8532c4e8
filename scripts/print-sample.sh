#!/usr/bin/env bash
# The main job: prints the bundled sample job through the rendering library
# and shows what the printer would receive.
#
# On a fresh Debian 12 machine it first installs what is missing, then builds
# the tool and the library (native preset), composes tools/samples/sample.scene
# into a spool file, plays it through Tzqr4um.dll as the spooler would, and
# decodes the printer stream. Everything goes to out/sample/:
#   sample.spl     the spooled job
#   sample.prn     the printer stream (PJL header, ZEBL pages)
#   report.txt     the decoder's report: PJL settings, pages, bands, planes
#   page-N.png     each page as printed, one pixel per 6 x 6 dots: text, boxes
#                  and brushes, a grey ramp, colour, and lines, paths and images
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

echo "== building (native preset)"
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target zebl Tzqr4um Tzqr4CM Tzqr4SU

zebl=build/native/tools/zebl
out=out/sample
mkdir -p "$out"
rm -f "$out"/sample.spl "$out"/sample.prn "$out"/report.txt "$out"/page-*

echo "== composing tools/samples/sample.scene"
"$zebl" compose tools/samples/sample.scene -o "$out/sample.spl"
echo "== printing through build/native/bin/Tzqr4um.dll"
"$zebl" print "$out/sample.spl" -o "$out/sample.prn"
echo "== decoding"
"$zebl" decode "$out/sample.prn" --png "$out/page" --scale 6 | tee "$out/report.txt"

echo
echo "The sample job is in $out/: sample.prn (the printer stream), report.txt and the page pictures:"
ls "$out"/page-*
