#!/usr/bin/env bash
# Screenshots of the autorun menu as the sample disc shows it: the welcome
# dialog's install and maintenance forms and the user-manual dialog, in
# English, German, Japanese and Traditional Chinese, written as PNG files
# (welcome-install-EN.png, welcome-maintenance-GR.png, manual-JP.png ...).
#
#     scripts/autorun-screenshots.sh [OUTPUT_FOLDER]     (default docs/images)
#
# The Windows test build's vlauto_screen_tests shows the real dialogs under
# Wine on a virtual display (cmake/wine-run-display.sh) and captures them
# while it checks their pixels; each language is a run with that
# language's locale, so that Wine reports it as the system's language and
# code page and Setup's record picks its language file. The locales are
# made for the run in the build tree (no system change). Needs Xvfb and a
# font with Chinese and Japanese glyphs and Latin letters, as Wine finds
# through fontconfig (Debian: xvfb fonts-wqy-microhei).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/images}")
build=$root/build/win32-test
cd "$root"

[ -f "$build/CMakeCache.txt" ] || cmake --preset win32-test >/dev/null
cmake --build --preset win32-test --target vlauto_screen_tests sample_disc
# The prefix as the test's CTest fixture prepares it (runs as Windows XP).
ctest --preset win32-test -R '^wine_prefix_display_as_xp$' >/dev/null

locales=$build/locales
languages=("EN en_US" "GR de_DE" "JP ja_JP" "CT zh_TW")
mkdir -p "$locales" "$out"
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
failed=0
for entry in "${languages[@]}"; do
    read -r abbreviation locale <<<"$entry"
    [ -d "$locales/$locale.UTF-8" ] || localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8"
    echo "== $abbreviation ($locale)"
    LOCPATH=$locales LANG=$locale.UTF-8 LC_ALL=$locale.UTF-8 \
        ZEBL_WINEPREFIX=$build/wine-prefix-display \
        ZEBL_AUTORUN_SCREENSHOTS="Z:${shots//\//\\}" \
        cmake/wine-run-display.sh "$build/tests/vlauto_screen_tests.exe" \
        --gtest_filter='Forms/AutorunPixelsTest.*:AutorunOnScreenTest.TheManualButton*' >"$shots/run.txt" ||
        failed=1
    grep -E '^\[ +(OK|FAILED) ' "$shots/run.txt" || cat "$shots/run.txt"
done

# BMP (24 bits, bottom-up, as the test writes them) to PNG.
python3 - "$shots" "$out" <<'PYTHON'
import pathlib, struct, sys, zlib

def png(path, width, height, rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + row for row in rows)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                     + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))

source, target = map(pathlib.Path, sys.argv[1:])
for bmp in sorted(source.glob("*.bmp")):
    data = bmp.read_bytes()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert bits == 24 and height > 0, f"{bmp}: not a bottom-up 24-bit BMP"
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = data[offset + y * stride: offset + y * stride + width * 3]
        rows.append(bytes(b for i in range(0, len(row), 3) for b in (row[i + 2], row[i + 1], row[i])))
    png(target / (bmp.stem + ".png"), width, height, rows)
    print(target / (bmp.stem + ".png"))
PYTHON
if [ $failed -ne 0 ]; then
    echo "error: the dialogs' pixel checks failed (the screenshots show them as they were)" >&2
    exit 1
fi
