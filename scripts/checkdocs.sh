#!/usr/bin/env bash
# Checks that the docs name only paths that exist: every path below src/,
# tests/, tools/, frontend/, app/, bench/, scripts/, data/ or docs/ written in
# docs/*.md or README.md must be a file or folder of the tree (a "*" in it
# must match one). A file the build makes is written "<build>/folder/name";
# folder/CMakeLists.txt must make it, as ${CMAKE_CURRENT_BINARY_DIR}/name or
# ${PROJECT_BINARY_DIR}/name. Fails, naming each doc line with a stale path.
# CHECKDOCS_ROOT checks another tree (the test of this script does).
set -euo pipefail
root="${CHECKDOCS_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

fail=0
for doc in docs/*.md README.md; do
  [ -f "$doc" ] || continue
  while IFS=: read -r lineno path; do
    path="${path%.}"  # a full stop that ends the sentence
    if [[ "$path" == "<build>/"* ]]; then
      rel="${path#<build>/}"
      folder="$(dirname "$rel")" name="$(basename "$rel")"
      if ! grep -qE "\\\$\\{(CMAKE_CURRENT_BINARY_DIR|PROJECT_BINARY_DIR)\\}/$name\\b" "$folder/CMakeLists.txt" 2>/dev/null; then
        echo "$doc:$lineno: the build does not make $path ($folder/CMakeLists.txt)"
        fail=1
      fi
      continue
    fi
    if ! compgen -G "$path" >/dev/null; then
      echo "$doc:$lineno: no such file or folder: $path"
      fail=1
    fi
  done < <(grep -noE '(^|[^A-Za-z0-9_./>-])(<build>/)?(src|tests|tools|frontend|app|bench|scripts|data|docs)/[A-Za-z0-9_./*-]*[A-Za-z0-9_*/]' "$doc" \
             | sed -E 's/^([0-9]+):[^<a-z]?/\1:/' || true)
done

if [ "$fail" != 0 ]; then
  echo "checkdocs: the docs name paths that do not exist" >&2
  exit 1
fi
echo "checkdocs: every path the docs name exists"
