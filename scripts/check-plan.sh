#!/usr/bin/env bash
# The house plan, kept by plain greps: the core without windows, SQL only in the stores and the
# database layer, feature folders apart, no loop between folders, names that say what a file holds.
# With a folder as argument, checks the tree there instead of this checkout (the plan's own test).
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
echo "== house plan"
plan_ok=1
plan() { echo "plan: $1" >&2; printf '%s\n' "$2" >&2; plan_ok=0; }
# The core builds without windows: nothing of src/gui, QtWidgets or QtCharts.
hits=$(grep -rnE '#include [<"](gui/|QtWidgets|QtCharts|Q(Widget|Dialog|Label|LineEdit|MessageBox|PushButton|TableView|TableWidget|Chart[A-Za-z]*|Application)[>"])' src/core || true)
[[ -z "$hits" ]] || plan "the core includes window headers" "$hits"
# SQL text only in the stores and the database layer.
hits=$(grep -rlniE '"[[:space:]]*(select|insert into|update [a-z_]+ set|delete from|create (table|index|trigger))\b' src \
  --include='*.cpp' --include='*.h' | grep -vE '(store\.cpp|^src/core/db/)' || true)
[[ -z "$hits" ]] || plan "SQL text outside the stores" "$hits"
# A window folder includes no other feature's folder (common/ and shell/ excepted).
for dir in src/gui/*/; do
  feature=$(basename "$dir")
  [[ "$feature" == common || "$feature" == shell ]] && continue
  hits=$(grep -rnE '#include "gui/' "$dir" | grep -vE "#include \"gui/($feature|common)/" || true)
  [[ -z "$hits" ]] || plan "gui/$feature includes another feature's folder" "$hits"
done
# No loop between the folders of src/core, nor between those of src/gui: each folder may use only
# folders before it in the order the README writes down. tsort names a loop it finds.
for side in core gui; do
  # "src/core/till/tillmodel.cpp:#include "core/history/" is the edge "till history".
  edges=$({ grep -rHoE --include='*.cpp' --include='*.h' "#include \"$side/[a-z_]+/" "src/$side" || true; } |
    sed -E "s|^src/$side/([^/:]+)[^:]*:#include \"$side/([a-z_]+)/\$|\1 \2|" | awk '$1 != $2' | sort -u)
  loops=$(tsort <<<"$edges" 2>&1 >/dev/null || true)
  [[ -z "$loops" ]] || plan "folders of src/$side include each other in a loop" "$loops"
done
# Names that say what a file holds.
hits=$(find src -name 'u_*' || true)
[[ -z "$hits" ]] || plan "files named u_*" "$hits"
((plan_ok)) || exit 1
echo "ok"
