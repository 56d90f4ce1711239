#!/usr/bin/env bash
# The headless demo and the screenshots: each must produce a PNG of the whole
# window (642 x 567 pixels at 96 dpi) after a Read from the keyboard.
set -euo pipefail
build=$1
source_dir=$2
cd "$source_dir"
rm -f "$build/demo.png" "$build/screenshot-en.png" "$build/screenshot-zh.png"
BUILD_DIR=$build scripts/demo --headless --no-build
BUILD_DIR=$build scripts/screenshot
for shot in demo screenshot-en screenshot-zh; do
    size=$(identify -format '%wx%h' "$build/$shot.png")
    [ "$size" = "642x567" ] || { echo "$shot.png is $size, not the window's 642x567" >&2; exit 1; }
done
