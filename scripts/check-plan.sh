#!/usr/bin/env bash
# The house plan, kept by plain greps: the core without windows, SQL only in the stores and the
# database layer, feature folders apart, names that say what a file holds.
set -euo pipefail
cd "$(dirname "$0")/.."
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
# Names that say what a file holds.
hits=$(find src -name 'u_*' || true)
[[ -z "$hits" ]] || plan "files named u_*" "$hits"
((plan_ok)) || exit 1
echo "ok"
