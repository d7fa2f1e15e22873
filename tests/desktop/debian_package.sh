#!/usr/bin/env bash
# cpack -G DEB: the package holds the programs and the desktop files and declares what they
# need. Usage: debian_package.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
package=$(ls "$work"/meshlook_*.deb)
files=$(dpkg-deb -c "$package")
for file in usr/bin/meshlook usr/bin/meshlook-cli usr/share/applications/meshlook.desktop \
  usr/share/mime/packages/meshlook.xml usr/share/thumbnailers/meshlook.thumbnailer \
  usr/share/icons/hicolor/48x48/apps/meshlook.png usr/share/icons/hicolor/scalable/apps/meshlook.svg; do
  grep -q " \./$file\$" <<<"$files" || { echo "not in the package: $file"; exit 1; }
done
depends=$(dpkg-deb -f "$package" Depends)
for library in libqt6widgets6 libc6 libegl1; do
  grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends"; exit 1; }
done
echo "$(basename "$package"): Depends: $depends"
