#!/usr/bin/env bash
# Builds the Debian package from an existing build folder (default build/) and checks it: the
# file list holds the programs, the resource tree, the desktop entry, the icons and the manual
# pages; the dependencies are run-time packages only; the packaged game answers --version and
# shows its first screen headless from the unpacked tree.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
out="$build_dir/packages"
rm -rf "$out"
(cd "$build_dir" && cpack -G DEB -B packages >/dev/null)
deb=$(ls "$out"/skirrow_*.deb)
echo "package: $deb ($(du -k "$deb" | cut -f1) KiB)"

list=$(dpkg-deb -c "$deb" | awk '{print $6}')
missing=0
for path in ./usr/bin/skirrow ./usr/bin/skirrow-cl ./usr/bin/skirrow-tool \
    ./usr/lib/skirrow/bin/skirrow ./usr/lib/skirrow/bin/skirrow-cl ./usr/lib/skirrow/bin/skirrow-tool \
    ./usr/lib/skirrow/resources ./usr/lib/skirrow/manual \
    ./usr/share/skirrow/resources/GUI/GUI.zip ./usr/share/skirrow/resources/GUI/gsetting.properties \
    ./usr/share/skirrow/resources/scenes/scenes.zip ./usr/share/skirrow/resources/chopper/chopper.zip \
    ./usr/share/skirrow/resources/flyable/flyable.zip ./usr/share/skirrow/manual/index.htm \
    ./usr/share/applications/skirrow.desktop \
    ./usr/share/icons/hicolor/16x16/apps/skirrow.png ./usr/share/icons/hicolor/48x48/apps/skirrow.png \
    ./usr/share/icons/hicolor/256x256/apps/skirrow.png \
    ./usr/share/man/man6/skirrow.6 ./usr/share/man/man6/skirrow-tool.6; do
  if ! grep -qxF "$path" <<<"$list"; then
    echo "missing from the package: $path"
    missing=1
  fi
done
# Nothing of the build machine: no absolute build paths, no scores or saves of a build's runs.
if grep -E '^\./(work|home|tmp|root)/|racescore\.txt|\.saving$|skirrow\.portable' <<<"$list"; then
  echo "the package holds files it must not"
  missing=1
fi
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
if grep -qE -- '-dev( |,|$)|(^|, )(gcc|g\+\+|cmake|ninja-build|make|pkg-config)( |,|$)' \
    <<<"$depends"; then
  echo "the package depends on build tools"
  missing=1
fi
[ "$missing" = 0 ] || exit 1

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root/tree"
mkdir -p "$root/home"
"$root/tree/usr/bin/skirrow" --version
printf '300 screenshot %s/shot.png\n400 quit\n' "$root" > "$root/script.txt"
(cd "$root/home" && HOME="$root/home" XDG_DATA_HOME="$root/data" XDG_CACHE_HOME="$root/cache" \
   XDG_RUNTIME_DIR="$root" SKIRROW_HOST=headless SKIRROW_AUDIO=none \
   SKIRROW_SCRIPT="$root/script.txt" "$root/tree/usr/bin/skirrow")
[ -s "$root/shot.png" ] || { echo "the packaged game drew nothing"; exit 1; }
echo "the package is complete"
