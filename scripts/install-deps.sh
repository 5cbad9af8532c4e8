#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian 12 machine:
# the native toolchain, GoogleTest and Google Benchmark sources, zlib and
# libpng, mingw-w64 for 32-bit Windows and Wine with the i386 architecture,
# clang with libFuzzer for the fuzz preset, clang-tidy and clang-format,
# Ghostscript, the general rasterizer the page benchmark is compared with,
# and for the autorun dialogs on a screen under Wine a virtual X display
# and a font with Chinese and Japanese glyphs and Latin letters.
set -euo pipefail

packages=(cmake ninja-build g++ python3 googletest libbenchmark-dev zlib1g-dev libpng-dev
          g++-mingw-w64-i686 mingw-w64-tools wine wine32:i386 wine64
          clang libclang-rt-14-dev clang-tidy clang-format ghostscript xvfb fonts-wqy-microhei)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
$sudo dpkg --add-architecture i386
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
