#!/usr/bin/env bash
# Installs the Debian 12 packages the program needs to build and run.
# With --test, also what the test suite and CI need (PDF tools, a print server with a PDF printer, the
# formatter and linter, what cpack needs to make the Debian package, and the PostgreSQL 15 server the
# festa tests start a cluster of their own with; scripts/festa-server.sh installs that server itself on
# the treasurer's computer; and the QR decoder that reads the Pix codes' images back).
set -euo pipefail
packages=(qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-psql libpq-dev libsqlite3-dev libcups2-dev libqrencode-dev libofx-dev fonts-liberation qt6-translations-l10n build-essential cmake ninja-build)
if [[ "${1:-}" == "--test" ]]; then
  packages+=(xvfb openbox poppler-utils cups printer-driver-cups-pdf clang-format clang-tidy dpkg-dev file postgresql-15 libzbar-dev zbar-tools)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
