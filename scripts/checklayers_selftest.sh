#!/usr/bin/env bash
# Self-test of the layer check (scripts/checklayers.sh): on copies of src/
# it must pass the tree as it stands and fail each copy below, in which one
# file includes a header its layer may not use, naming that file's line.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Copies the tree into $work/tree with the check beside it.
fresh_copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree/scripts"
  cp "$root/scripts/checklayers.sh" "$work/tree/scripts/"
  cp -r "$root/src" "$work/tree/src"
}

fail=0
fresh_copy
if ! out="$(bash "$work/tree/scripts/checklayers.sh" 2>&1)"; then
  echo "checklayers self-test: the check refuses the tree as it stands:"; echo "$out"; fail=1
fi

# file below src/ | the include added to it
cases=(
  'books/journal/voucher.h|#include "ui/controls.h"'
  'books/partners/partnerstore.cpp|#include "formkit/rowlist.h"'
  'books/closing/balance.cpp|#include "reports/Rapport1unit.h"'
  'books/reporting/paging.cpp|#include "program/mainblock.h"'
  'books/partners/partnerstore.cpp|#include "books/journal/voucher.h"'
  'store/fileset.cpp|#include "books/journal/voucher.h"'
  'text/textroutines.cpp|#include "store/fileset.h"'
  'ui/controls.cpp|#include "store/fileset.h"'
  'journal/boekingstuk.cpp|#include "reports/Rapport1unit.h"'
  'books/exchange/delimited.cpp|#include <QString>'
)
for c in "${cases[@]}"; do
  file="${c%%|*}" line="${c#*|}"
  fresh_copy
  printf '%s\n' "$line" >>"$work/tree/src/$file"
  if out="$(bash "$work/tree/scripts/checklayers.sh" 2>&1)"; then
    echo "checklayers self-test: src/$file with $line passed the check"; fail=1
  elif ! grep -qF "src/$file:" <<<"$out"; then
    echo "checklayers self-test: src/$file with $line failed without naming the file:"; echo "$out"; fail=1
  fi
done

if [ "$fail" != 0 ]; then
  echo "checklayers self-test: FAILED" >&2
  exit 1
fi
echo "checklayers self-test: the check refuses each broken copy"
