#!/usr/bin/env bash
# Prints the six reports of a small book (tests/support/reportbook.h: both
# category kinds, a profit and a transfer account, vouchers in two periods,
# one frozen period, open customer and supplier invoices) through the
# desktop program's printer to PDF, checks their text against figures
# worked out by hand (pdftotext), and makes PNG pages of them with pdftoppm.
# Usage: scripts/printcheck.sh [out-folder]   (default: ./printcheck)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$PWD/printcheck}"
bash "$root/scripts/deps.sh" --desktop
need=()
for p in poppler-utils fonts-liberation; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
cmake -S "$root" -B "$build" -G Ninja >/dev/null
ninja -C "$build" ombrelo_qt_tests
rm -rf "$out"
mkdir -p "$out"
OMBRELO_PRINT_DIR="$out" QT_QPA_PLATFORM=offscreen \
  "$build/tests/ombrelo_qt_tests" --gtest_filter='ReportPrint.*'
for pdf in "$out"/report*.pdf; do
  pdftoppm -r 100 -png "$pdf" "${pdf%.pdf}"
done
echo "PDF and PNG pages in $out"
