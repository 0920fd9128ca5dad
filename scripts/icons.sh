#!/usr/bin/env bash
# Renders the application icon's PNG sizes from package/icon.svg (committed, so a build needs
# no SVG renderer). Run it after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" package/icon.svg -o "package/icons/$size.png"
done
