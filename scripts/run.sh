#!/usr/bin/env bash
# Installs what the program needs, builds it, puts the delivered database in place when there is
# none, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DQUORVANTA_TESTS=OFF
if [[ ! -e "$HOME/quorvanta/base.db" ]]; then
  mkdir -p "$HOME/quorvanta"
  build/quorvanta-base "$HOME/quorvanta/base.db"
  echo "Base de dados entregue criada em $HOME/quorvanta/base.db"
fi
exec build/quorvanta
