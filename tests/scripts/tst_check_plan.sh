#!/usr/bin/env bash
# scripts/check-plan.sh on a copy of src/: the copy as it is keeps the plan; each include added below
# makes two or more folders use each other, and the check must fail naming them.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() { # name, file to add (or ""), the line it holds, folders the failure must name
  local name=$1 file=$2 line=$3 tree="$work/$1" out rc=0
  shift 3
  mkdir -p "$tree" && cp -r "$root/src" "$tree/"
  [[ -z "$file" ]] || printf '#pragma once\n\n%s\n' "$line" >"$tree/$file"
  out=$(bash "$root/scripts/check-plan.sh" "$tree" 2>&1) || rc=$?
  if [[ -z "$file" ]]; then
    [[ $rc == 0 ]] || { echo "FAIL $name: the plan fails on the copy: $out"; failures=$((failures + 1)); return; }
  else
    local want
    [[ $rc != 0 && $out == *"include each other in a loop"* ]] || {
      echo "FAIL $name: no loop found ($rc): $out"
      failures=$((failures + 1))
      return
    }
    for want in "$@"; do
      grep -qx "tsort: $want" <<<"$out" || { echo "FAIL $name: loop without $want: $out"; failures=$((failures + 1)); return; }
    done
  fi
  echo "PASS $name"
}

check "the tree as it is" "" ""
check "base uses till" src/core/base/looptill.h '#include "core/till/tillmodel.h"' base till
check "till uses the desk journal again" src/core/till/loopjournal.h '#include "core/festa/deskjournal.h"' till festa
check "history uses reports, reports history" src/core/history/loopreport.h '#include "core/reports/closingreport.h"' \
  history reports
check "a window's common part uses the shell" src/gui/common/loopshell.h '#include "gui/shell/application.h"' \
  common shell
((failures == 0))
