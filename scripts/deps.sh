#!/usr/bin/env bash
# Installs what building, running and testing the program need (Debian).
# Packages already present are not fetched again.
set -euo pipefail
# Liberation Sans is the report templates' font, metric-compatible with the
# amounts' blank alignment; the print test reads its PDFs with pdftotext.
packages=(cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev libxml2-utils
          fonts-liberation poppler-utils)
if [ "${1:-}" = "--desktop" ]; then
  packages+=(fonts-dejavu-core)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
