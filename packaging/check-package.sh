#!/usr/bin/env bash
# Makes the Debian package from a build folder into a temporary folder and checks that
# it installs both programs, the desktop entry, the icon and the help page, and depends on Qt's
# SQLite driver.   usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 || { cat "$out/cpack.log"; exit 1; }
deb=$(ls "$out"/scrollwise_*.deb)
listing=$(dpkg-deb -c "$deb")
status=0
for path in ./usr/bin/scrollwise ./usr/bin/scrollwise-batch ./usr/share/applications/scrollwise.desktop \
            ./usr/share/icons/hicolor/scalable/apps/scrollwise.svg ./usr/share/doc/scrollwise/README.md \
            ./usr/share/doc/scrollwise/administration.md \
            ./usr/share/scrollwise/Help/index.html ./usr/share/scrollwise/Help/screens/mainwindow.png; do
  if ! grep -q " $path\$" <<<"$listing"; then
    echo "missing from $deb: $path"
    status=1
  fi
done
# The faces of the font table: pages are drawn in them, so they install with the program.
for font in fonts-lohit-knda fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea fonts-urw-base35 \
            fonts-blankenburg fonts-dejavu-core fonts-dejavu-extra; do
  if ! dpkg-deb -f "$deb" Depends | grep -q "$font"; then
    echo "$deb does not depend on $font, a face of the font table"
    status=1
  fi
done
if ! dpkg-deb -f "$deb" Depends | grep -q 'libqt6sql6-sqlite'; then
  echo "$deb does not depend on libqt6sql6-sqlite"
  status=1
fi
if [ $status -eq 0 ]; then
  echo "$(basename "$deb"): $(grep -c '^-' <<<"$listing") files, every one expected is there"
fi
exit $status
