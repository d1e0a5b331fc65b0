#!/usr/bin/env bash
# Makes the Debian package from build/ and checks its contents and declared dependencies.
set -euo pipefail
cd "$(dirname "$0")/../build"
rm -f quorvanta_*.deb
cpack -G DEB > cpack.log
deb=$(ls quorvanta_*.deb)
contents=$(dpkg-deb -c "$deb")
info=$(dpkg-deb -I "$deb")
for f in ./usr/bin/quorvanta ./usr/bin/quorvanta-base ./usr/bin/quorvanta-iniciar \
         ./usr/share/quorvanta/base.db ./usr/share/applications/quorvanta.desktop \
         ./usr/share/icons/hicolor/scalable/apps/quorvanta.svg; do
  grep -q " $f\$" <<<"$contents" || { echo "$deb: falta $f" >&2; exit 1; }
done
for d in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6sql6-psql qt6-qpa-plugins libc6; do
  grep -q "Depends:.*\b$d\b" <<<"$info" || { echo "$deb: dependência $d não declarada" >&2; exit 1; }
done
if grep -q " ./usr/bin/tst_" <<<"$contents"; then echo "$deb: contém testes" >&2; exit 1; fi
echo "$deb ok"
