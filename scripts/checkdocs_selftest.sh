#!/usr/bin/env bash
# Self-test of the docs path check (scripts/checkdocs.sh): on a copy of the
# docs it must pass them as they stand and fail each copy below, in which a
# doc names a path the tree or the build does not have.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The tree's folders as links, the docs as copies that a case may change.
fresh_copy() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  for f in src tests tools frontend app bench scripts data; do ln -s "$root/$f" "$work/tree/$f"; done
  cp -r "$root/docs" "$work/tree/docs"
  cp "$root/README.md" "$work/tree/README.md"
}

fail=0
fresh_copy
if ! out="$(CHECKDOCS_ROOT="$work/tree" bash "$root/scripts/checkdocs.sh" 2>&1)"; then
  echo "checkdocs self-test: the check refuses the docs as they stand:"; echo "$out"; fail=1
fi

# doc | the line added to it
cases=(
  'docs/ARCHITECTURE.md|The scope is in src/shell/filesetscope.h.'
  'docs/journal.md|See `src/services/voucherstore.h`'
  'README.md|The table is (tests/nosuch_test.cpp).'
  'docs/ARCHITECTURE.md|The build writes `tools/languagetable.cpp`.'
  'docs/reports.md|The build writes `<build>/tools/nosuchtable.cpp`.'
)
for c in "${cases[@]}"; do
  doc="${c%%|*}" line="${c#*|}"
  fresh_copy
  printf '%s\n' "$line" >>"$work/tree/$doc"
  if out="$(CHECKDOCS_ROOT="$work/tree" bash "$root/scripts/checkdocs.sh" 2>&1)"; then
    echo "checkdocs self-test: $doc with \"$line\" passed the check"; fail=1
  elif ! grep -qF "$doc:" <<<"$out"; then
    echo "checkdocs self-test: $doc with \"$line\" failed without naming the doc:"; echo "$out"; fail=1
  fi
done

if [ "$fail" != 0 ]; then
  echo "checkdocs self-test: FAILED" >&2
  exit 1
fi
echo "checkdocs self-test: the check refuses each stale path"
