#!/usr/bin/env bash
# Takes screenshots of the desktop program under a virtual X server: the
# start screen in a fresh working folder, and the start-up error form when
# the user file cannot be opened. Usage: scripts/screenshots.sh [out-folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$root/docs/screenshots}"
bash "$root/scripts/deps.sh" --desktop
need=()
for p in xvfb xauth openbox imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
cmake -S "$root" -B "$build" -G Ninja >/dev/null
ninja -C "$build" ombrelo
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

shoot() {  # working-folder picture
  xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
    openbox >/dev/null 2>&1 & sleep 1
    '$build/ombrelo' --folder '$1' & sleep 3
    import -window root '$2'
    kill %2 %1" 2>/dev/null
}

mkdir -p "$tmp/fresh"
cp "$build/vlk010005.lan" "$tmp/fresh/"
shoot "$tmp/fresh" "$out/start-screen.png"

# A folder where the user file should be: the user file cannot be opened.
mkdir -p "$tmp/broken/user.vlk"
cp "$build/vlk010005.lan" "$tmp/broken/"
shoot "$tmp/broken" "$out/startup-error.png"
echo "Screenshots in $out"
