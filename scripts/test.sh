#!/usr/bin/env bash
# Installs what the tests need, builds everything once with warnings as errors, checks formatting and
# runs clang-tidy (scripts/check.sh), runs the whole suite in parallel and makes and checks the Debian
# package (scripts/package.sh).
# Extra arguments go to CMake's configure step (for example -DQUORVANTA_SANITIZE=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
bash scripts/setup-cups-pdf.sh || echo "aviso: impressora PDF do CUPS indisponível; o teste de impressão real será ignorado"
# Tests on and sanitizers off unless the caller says otherwise (a run.sh build turns tests off).
bash scripts/build.sh -DQUORVANTA_TESTS=ON -DQUORVANTA_SANITIZE=OFF -DQUORVANTA_WERROR=ON "$@"
bash scripts/check.sh
# No display: Qt's offscreen platform, unless the caller chose a platform.
if [[ -z "${QT_QPA_PLATFORM:-}" && -z "${DISPLAY:-}" ]]; then
  export QT_QPA_PLATFORM=offscreen
fi
(cd build && ctest --output-on-failure -j"$(nproc)")
bash scripts/package.sh
