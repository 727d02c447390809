#!/usr/bin/env bash
# Builds the desktop program, prepares its working folder and starts it
# there. Usage: scripts/run.sh [working-folder]   (default: ./ombrelo-work)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
work="${1:-$PWD/ombrelo-work}"
bash "$root/scripts/deps.sh" --desktop
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" ombrelo ombrelo_help
mkdir -p "$work"
# As an installer would: a working folder without a language file (or with
# the empty one a run without it left behind) gets the shipped one.
if [ ! -s "$work/vlk010005.lan" ]; then
  cp "$build/vlk010005.lan" "$work/vlk010005.lan"
fi
# The help documents likewise.
for help in helpenglish.rtf helpNederlands.rtf helpDeutsch.rtf; do
  if [ ! -s "$work/$help" ]; then
    cp "$build/$help" "$work/$help"
  fi
done
# The report templates, as shipped; a template the user changed stays.
for template in "$root"/data/reports/*.rtf; do
  [ -e "$work/$(basename "$template")" ] || cp "$template" "$work/"
done
cd "$work"
exec "$build/ombrelo" --folder "$work"
