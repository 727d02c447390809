#!/usr/bin/env bash
# Takes screenshots of the desktop program under a virtual X server: the
# start screen in a fresh working folder, the start-up error form when the
# user file cannot be opened, the system settings form of a first run, and in
# an administration "ACME" the tree, the journal form's voucher, template,
# invoice and payment tabs and their lists, the voucher tab with a typed date,
# the partners form, the GL categories and GL accounts forms and the
# administrations form. The other forms are rendered offscreen by their
# front-end tests (listed at the end). Usage:
# scripts/screenshots.sh [out-folder]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$root/docs/screenshots}"
bash "$root/scripts/deps.sh" --desktop
need=()
for p in xvfb xauth openbox imagemagick xdotool; do
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
# A working folder at its first run (the settings form) and after it with one
# administration, ACME: the log-in takes it, the tree's first bookkeeping
# function opens the journal form, the next one the partners form; then the
# tree, opened whole with "*", leads to the GL categories, the GL accounts and
# the administrations by counting its lines from the top.
mkdir -p "$tmp/books"
cp "$build/vlk010005.lan" "$tmp/books/"
cat > "$tmp/books.sh" <<'SCRIPT'
set -u
program="$1" folder="$2" out="$3"
openbox >/dev/null 2>&1 &
sleep 1
"$program" --folder "$folder" & sleep 3
import -window root "$out/first-run-settings.png"
xdotool key Escape; sleep 1   # the first run's settings form
kill $!; sleep 1
mkdir -p "$folder/data/ACME"
{ printf '\004ACME'; head -c 6 /dev/zero; printf '\014Acme Trading'; head -c 251 /dev/zero; } > "$folder/data/admin.vlk"
"$program" --folder "$folder" & sleep 3
xdotool key Return; sleep 2   # log in to ACME
import -window root "$out/tree-after-login.png"
xdotool key Down Down Right Down Return; sleep 2
import -frame -window "$(xdotool getactivewindow)" "$out/journal-vouchers.png"
# A date typed over the whole voucher date, then a click into line 1's debit.
xdotool mousemove --window "$(xdotool getactivewindow)" 80 155 click 1; sleep 0.5
xdotool key ctrl+a; xdotool type --delay 100 "15-01-2008"; sleep 0.5
xdotool mousemove --window "$(xdotool getactivewindow)" 813 238 click 1; sleep 1
import -frame -window "$(xdotool getactivewindow)" "$out/journal-voucher-typed-date.png"
xdotool mousemove --window "$(xdotool getactivewindow)" 168 92 click 1; sleep 1   # the template tab
import -frame -window "$(xdotool getactivewindow)" "$out/journal-templates.png"
xdotool mousemove --window "$(xdotool getactivewindow)" 241 92 click 1; sleep 1   # the invoice tab
import -frame -window "$(xdotool getactivewindow)" "$out/journal-invoice.png"
xdotool mousemove --window "$(xdotool getactivewindow)" 318 92 click 1; sleep 1   # the invoice list
import -frame -window "$(xdotool getactivewindow)" "$out/journal-invoice-list.png"
xdotool mousemove --window "$(xdotool getactivewindow)" 491 92 click 1; sleep 1   # the payment tab
import -frame -window "$(xdotool getactivewindow)" "$out/journal-payment.png"
xdotool mousemove --window "$(xdotool getactivewindow)" 578 92 click 1; sleep 1   # the payment list
import -frame -window "$(xdotool getactivewindow)" "$out/journal-payment-list.png"
xdotool key Escape; sleep 1
xdotool key Down Return; sleep 2   # the partners
import -frame -window "$(xdotool getactivewindow)" "$out/partners.png"
xdotool key Escape; sleep 1
# The whole tree: 8 lines below its top the GL categories, then the GL
# accounts, 13 lines below it the administrations.
open_line() { xdotool key Home asterisk Home; for _ in $(seq "$1"); do xdotool key Down; done; xdotool key Return; sleep 2; }
open_line 8
import -window root "$out/gl-categories.png"
xdotool key Escape; sleep 1
open_line 9
import -window root "$out/gl-accounts.png"
xdotool key Escape; sleep 1
open_line 13
import -window root "$out/administrations.png"
xdotool key Escape; sleep 1
kill $! %1
SCRIPT
xvfb-run -a -s "-screen 0 1280x800x24" bash "$tmp/books.sh" "$build/ombrelo" "$tmp/books" "$out" 2>/dev/null
# The other forms, rendered offscreen by their front-end tests: the
# administrations form with its copy panel prepared and the fixed-assets form
# (which no function of the tree offers); the journal form's bank-import tabs
# (a statement split on tab 7, tab 8 after a run); the report form with the
# balance sheet's grid, with a ledger card and right after a freeze
# (tests/support/reportbook.h);
# the partners form with partners in it; the administration settings form's
# two tabs as the year-end flow shows them; the export and import form on the
# audit file and after an export; the help window on the shipped English
# document, opened on the bank-import topic.
ninja -C "$build" ombrelo_qt_tests
OMBRELO_RENDER_DIR="$out" QT_QPA_PLATFORM=offscreen "$build/tests/ombrelo_qt_tests" \
  --gtest_filter='CopyPanelRender.*:BankImportRender.*:ReportPrint.TheFormShowsTheGridAndTheReport:FreezeRender.*:PartnersFormQt.*:*TheSettingsFormRendersBothTabs:QtFrontTest.TheExportFormOnTheAuditFileAndAfterAnExport:HelpViewQt.TheHelpWindowShowsTheTopicOfItsTag' >/dev/null
echo "Screenshots in $out"
