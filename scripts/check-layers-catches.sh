#!/bin/bash
# The layer check must fail on an upward include or link and name its file and line: a scratch
# tree with the real layer table, one downward include, one upward include and one upward link.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/docs" "$scratch/framework" "$scratch/graphics" "$scratch/base"
cp "$here/../docs/ARCHITECTURE.md" "$scratch/docs/"
printf '#pragma once\n' > "$scratch/base/Shared.h"
printf '#pragma once\n' > "$scratch/graphics/Editor.h"
printf '#include "base/Shared.h"\n\n#include "graphics/Editor.h"\n' > "$scratch/framework/Base.cpp"
printf 'tavo_library(tavo_graphics LINKS tavo_framework)\n' > "$scratch/graphics/CMakeLists.txt"
printf 'target_link_libraries(tavo_framework PUBLIC tavo_graphics)\n' >> "$scratch/graphics/CMakeLists.txt"

if output=$(python3 "$here/check-layers.py" "$scratch"); then
  echo "the check passed a tree with an upward include:"; echo "$output"; exit 1
fi
expected='framework/Base.cpp:3: includes "graphics/Editor.h" (layer graphics), which framework may not use'
grep -qxF "$expected" <<<"$output" || { echo "expected: $expected"; echo "got: $output"; exit 1; }
linked='graphics/CMakeLists.txt:2: links tavo_graphics to tavo_framework, which framework may not use'
grep -qxF "$linked" <<<"$output" || { echo "expected: $linked"; echo "got: $output"; exit 1; }
if grep -q 'Shared.h\|CMakeLists.txt:1' <<<"$output"; then
  echo "a downward include or link was reported: $output"
  exit 1
fi
echo "caught: $expected"
echo "caught: $linked"
