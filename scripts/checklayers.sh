#!/usr/bin/env bash
# Checks the layers of src/ (docs/ARCHITECTURE.md, "Layers"): every include
# of a program header must point at a folder the including folder may use.
# From the bottom:
#   platform                     itself only
#   records                      platform
#   text                         platform, records
#   store                        platform, records, text (never the books)
#   ui                           platform (the component model stands apart)
#   books/<area>                 platform, records, text, store and the books
#                                areas below its own (never ui, formkit, a
#                                form or program): partners, then journal,
#                                then closing, then reporting; administration
#                                and exchange stand apart above them
#   formkit                      everything above, ui and the books
#   system masterdata journal reports   formkit and below, and their own folder
#   program                      everything
# and nothing in src/ includes Qt. Fails, naming each offending line.
# scripts/checklayers_selftest.sh proves on a copy of the tree that it can fail.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# The folders a folder may include besides itself.
allowed_below() {  # $1: a folder below src/
  case "$1" in
    platform) echo "" ;;
    records) echo "platform" ;;
    text) echo "platform records" ;;
    store) echo "platform records text" ;;
    ui) echo "platform" ;;
    books) echo "platform records text store" ;;
    formkit) echo "platform records text store ui books" ;;
    system|masterdata|journal|reports) echo "platform records text store ui books formkit" ;;
    program) echo "platform records text store ui books formkit system masterdata journal reports" ;;
    *) echo "" ;;
  esac
}

# The rank of an area of the books: an area includes only its own and lower
# ranks; two areas of one rank never include each other.
area_rank() {
  case "$1" in
    partners) echo 1 ;;
    journal) echo 2 ;;
    closing) echo 3 ;;
    reporting) echo 4 ;;
    administration|exchange) echo 5 ;;
    *) echo 9 ;;
  esac
}

fail=0
while IFS= read -r file; do
  rel="${file#src/}"
  from_folder="${rel%%/*}"
  from_area=""
  [ "$from_folder" = books ] && { from_area="${rel#books/}"; from_area="${from_area%%/*}"; }
  below="$(allowed_below "$from_folder")"
  while IFS=: read -r lineno text; do
    [[ "$text" =~ ^#include\ [\<\"]([^\"\>]+) ]] || continue
    inc="${BASH_REMATCH[1]}"
    case "$inc" in
      Q*|*/Q*) echo "$file:$lineno: Qt below the front end: $text"; fail=1; continue ;;
    esac
    [ -f "src/$inc" ] || continue
    to_folder="${inc%%/*}"
    bad=0
    if [ "$to_folder" = "$from_folder" ]; then
      if [ -n "$from_area" ]; then
        to_area="${inc#books/}"; to_area="${to_area%%/*}"
        from_rank="$(area_rank "$from_area")" to_rank="$(area_rank "$to_area")"
        if [ "$to_area" != "$from_area" ] && [ "$to_rank" -ge "$from_rank" ]; then bad=1; fi
      fi
    else
      case " $below " in
        *" $to_folder "*) ;;
        *) bad=1 ;;
      esac
    fi
    if [ "$bad" = 1 ]; then
      echo "$file:$lineno: includes a header of a layer above it or beside it: $inc"
      fail=1
    fi
  done < <(grep -n '^#include [<"]' "$file" || true)
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

if [ "$fail" != 0 ]; then
  echo "checklayers: the layers of src/ are broken (see docs/ARCHITECTURE.md, Layers)" >&2
  exit 1
fi
echo "checklayers: the layers of src/ hold"
