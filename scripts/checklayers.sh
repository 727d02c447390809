#!/usr/bin/env bash
# Checks the layers of src/ (docs/ARCHITECTURE.md, "Layers"): every include
# of a program header must point at the same layer or one below it. Fails,
# naming each offending line, when
# - platform includes records, the store, ui or anything above;
# - records include text, the store, ui or anything above;
# - text includes the store (the store stands on text), ui or anything above;
# - the store, ui or the books include a form's header (formkit, a form
#   library or program);
# - formkit includes a form library's header or program;
# - a form library includes another subsystem's form header or program;
# - anything in src/ includes Qt.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

layer_of() {  # $1: a path below src/ ("books/journal/voucherstore.h")
  local folder="${1%%/*}"
  case "$folder" in
    platform) echo 0 ;;
    records) echo 1 ;;
    text|store|ui) echo 2 ;;
    books) echo 3 ;;
    system|masterdata|journal|reports) echo 5 ;;
    formkit) echo 4 ;;
    program) echo 6 ;;
    *) echo 9 ;;
  esac
}

fail=0
while IFS= read -r file; do
  rel="${file#src/}"
  from_layer="$(layer_of "$rel")"
  from_folder="${rel%%/*}"
  while IFS=: read -r lineno text; do
    inc="$(sed -E 's/^#include [<"]([^">]+)[">].*/\1/' <<<"$text")"
    case "$inc" in
      Q*|*/Q*) echo "$file:$lineno: Qt below the front end: $text"; fail=1; continue ;;
    esac
    [ -f "src/$inc" ] || continue
    to_layer="$(layer_of "$inc")"
    to_folder="${inc%%/*}"
    bad=0
    case "$from_layer" in
      0) [ "$to_layer" -ge 1 ] && bad=1 ;;
      1) [ "$to_layer" -ge 2 ] && bad=1 ;;
      2) if [ "$to_layer" -ge 3 ]; then bad=1;
         elif [ "$from_folder" = ui ] && [ "$to_folder" != ui ] && [ "$to_folder" != platform ]; then bad=1;
         elif [ "$from_folder" != ui ] && [ "$to_folder" = ui ]; then bad=1;
         elif [ "$from_folder" = text ] && [ "$to_folder" = store ]; then bad=1; fi ;;
      3|4) [ "$to_layer" -ge "$((from_layer + 1))" ] && [ "$to_layer" -ne 3 ] && bad=1 ;;
      5) if [ "$to_layer" -eq 6 ]; then bad=1;
         elif [ "$to_layer" -eq 5 ] && [ "$to_folder" != "$from_folder" ]; then bad=1; fi ;;
    esac
    if [ "$bad" = 1 ]; then
      echo "$file:$lineno: includes a header of a layer above it or beside it: $inc"
      fail=1
    fi
  done < <(grep -n '^#include [<"]' "$file" | sed -E 's/^([0-9]+):/\1:/' || true)
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

if [ "$fail" != 0 ]; then
  echo "checklayers: the layers of src/ are broken (see docs/ARCHITECTURE.md, Layers)" >&2
  exit 1
fi
echo "checklayers: the layers of src/ hold"
