#!/bin/sh
# Regenerates every generated file of the installation data in assets/.
# Needs the Debian packages listed in tools/README.md.
set -e
cd "$(dirname "$0")/.."
rm -f assets/BMP/* assets/WAV/* assets/HLP/*
/usr/bin/python3 tools/gen_pictures.py assets/BMP
/usr/bin/python3 tools/gen_sounds.py assets/WAV
/usr/bin/python3 tools/make_rtf.py assets/help assets/HLP
/usr/bin/python3 tools/make_icon.py assets/BMP assets/icons
echo "BMP: $(ls assets/BMP | wc -l)  WAV: $(ls assets/WAV | wc -l)  HLP: $(ls assets/HLP | wc -l)"
