#!/bin/sh
# Renders the committed PNG icons from the SVG with rsvg-convert (package
# librsvg2-bin); run after changing the drawing.
set -e
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "$size"
  rsvg-convert -w "$size" -h "$size" org.q70config.Q70config.svg -o "$size/org.q70config.Q70config.png"
done
