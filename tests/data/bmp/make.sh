#!/usr/bin/env bash
# Writes the BMP files the image tests read, as a skin author's tools write them: one
# 5 x 3 picture (picture.ppm; odd width, so every row carries padding) saved by
# ImageMagick 6 as 8-bit run-length (the padding encoded in the runs) and as 16-bit
# 5-6-5 and 5-5-5 with bit-field masks.
set -euo pipefail
cd "$(dirname "$0")"
convert picture.ppm -type Palette -compress RLE BMP3:rle8-odd-width.bmp
convert picture.ppm -define bmp:subtype=RGB565 rgb565-bitfields.bmp
convert picture.ppm -define bmp:subtype=RGB555 rgb555-bitfields.bmp
