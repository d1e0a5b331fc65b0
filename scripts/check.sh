#!/usr/bin/env bash
# Static checks of the sources: the house plan (scripts/check-plan.sh), formatting (clang-format) and
# clang-tidy's bugprone and performance checks (.clang-tidy). Needs a configured build/
# (scripts/build.sh) for compile_commands.json.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/check-plan.sh
echo "== clang-format"
find src tests -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run -Werror
echo "== clang-tidy"
# Sources of src/ only (not the generated ones), two at a time.
run-clang-tidy -quiet -p build -j 2 "$PWD/src/" > build/clang-tidy.log 2>&1 || {
  grep -E "(warning|error): " build/clang-tidy.log | sed 's/\x1b\[[0-9;]*m//g' | sort -u
  echo "clang-tidy: see build/clang-tidy.log" >&2
  exit 1
}
echo "ok"
