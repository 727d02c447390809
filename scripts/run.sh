#!/usr/bin/env bash
# Builds the desktop program, prepares its working folder and starts it
# there. Usage: scripts/run.sh [working-folder]   (default: ./ombrelo-work)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
work="${1:-$PWD/ombrelo-work}"
bash "$root/scripts/deps.sh" --desktop
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" ombrelo
mkdir -p "$work"
cd "$work"
exec "$build/ombrelo" --folder "$work"
