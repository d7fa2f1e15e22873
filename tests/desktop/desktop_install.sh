#!/usr/bin/env bash
# cmake --install into a fresh prefix: the desktop entry validates, the file types recognise a
# polymodel and an archive by their first bytes under any name, and the thumbnailer's own
# command line writes a PNG of the asked size. Where dpkg is at hand, the Debian package of the
# same files declares the libraries they need.
# Usage: desktop_install.sh BUILD_DIR MAKE_SAMPLES
set -euo pipefail
build=$1 make_samples=$2
for tool in desktop-file-validate update-mime-database xdg-mime mimetype; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix share=$work/prefix/share
cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/meshlook bin/meshlook-cli share/applications/meshlook.desktop \
  share/mime/packages/meshlook.xml share/thumbnailers/meshlook.thumbnailer \
  share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/meshlook.png \
  share/icons/hicolor/scalable/apps/meshlook.svg; do
  [ -s "$prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$share/applications/meshlook.desktop"

update-mime-database "$share/mime"
"$make_samples" "$work/samples" >/dev/null
cp "$work/samples/demo.oof" "$work/model.png"
cp "$work/samples/demo.hog" "$work/archive.txt"
export XDG_DATA_DIRS=$share:/usr/share XDG_DATA_HOME=$share
types=$(for file in samples/demo.oof model.png samples/demo.hog archive.txt; do
  xdg-mime query filetype "$work/$file"; done | sed 's/^application\/x-vantor-//' | tr '\n' ' ')
[ "$types" = "polymodel polymodel hog hog " ] || { echo "file types: $types"; exit 1; }

# The thumbnailer's Exec line with its size, input and output filled in, run as written.
command=$(sed -n "/^Exec=/{s///;s/%s/96/g;s|%i|$work/samples/demo.hog|g;s|%o|$work/thumb.png|g;p}" \
  "$share/thumbnailers/meshlook.thumbnailer")
PATH=$prefix/bin:$PATH $command
size=$(od -An -tu1 -j16 -N8 "$work/thumb.png" | tr -s ' ')
[ "$size" = " 0 0 0 96 0 0 0 96" ] || { echo "thumbnail size bytes:$size"; exit 1; }

command -v dpkg-shlibdeps >/dev/null || exit 0
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
package=$(ls "$work"/deb/meshlook_*.deb)
grep -q ' \./usr/bin/meshlook-cli$' <<<"$(dpkg-deb -c "$package")" || { echo "not packaged"; exit 1; }
depends=$(dpkg-deb -f "$package" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* && $depends == *libegl1* ]] ||
  { echo "Depends lacks a library: $depends"; exit 1; }
