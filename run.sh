#!/usr/bin/env bash
# Installs what is missing, builds, and starts Grips-Fix from build/gripsfix/.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
./scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Kein Bildschirm gefunden (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt)." >&2
    echo "Grips-Fix braucht eine grafische Oberfläche. Ohne Bildschirm z. B.: xvfb-run -s '-screen 0 1024x768x24' ./run.sh" >&2
    exit 1
fi
cd build/gripsfix
exec ./gripsfix "$@"
