#!/usr/bin/env bash
# Builds the Debian package from this tree with Debian's own tools and checks it:
#   scripts/make-deb.sh OUTPUT_FOLDER [JOBS]
# The tree is copied (its tracked and new files, no build folders) into OUTPUT_FOLDER/vornel-VERSION/,
# where dpkg-buildpackage builds it (running the tests unless DEB_BUILD_OPTIONS has nocheck) and
# leaves vornel_VERSION_ARCH.deb beside it. Then lintian must report no error and no warning,
# and scripts/check-deb.sh unpacks the package and starts the installed game.
set -euo pipefail

out=${1:?usage: make-deb.sh OUTPUT_FOLDER [JOBS]}
jobs=${2:-$(nproc)}
here=$(cd "$(dirname "$0")/.." && pwd)
version=$(dpkg-parsechangelog -l "$here/debian/changelog" -S Version)
source_tree=$out/vornel-$version

rm -rf "$out"
mkdir -p "$source_tree"
out=$(cd "$out" && pwd)
source_tree=$out/vornel-$version

if git -C "$here" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$here" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
    tar --null -T - -cf -) | tar -xf - -C "$source_tree"
else
  tar -C "$here" --exclude='./build*' --exclude=node_modules --exclude=.git -cf - . | tar -xf - -C "$source_tree"
fi

echo "make-deb: building vornel $version in $source_tree (log: $out/build.log)"
if ! (cd "$source_tree" && dpkg-buildpackage -us -uc -b -J"$jobs") >"$out/build.log" 2>&1; then
  tail -n 60 "$out/build.log" >&2
  echo "make-deb: dpkg-buildpackage failed (the whole log: $out/build.log)" >&2
  exit 1
fi

deb=$(ls "$out"/vornel_"$version"_*.deb)
echo "make-deb: $(basename "$deb"), $(stat -c %s "$deb") bytes"
dpkg-deb -f "$deb" Installed-Size Depends | sed 's/^/make-deb:   /'

# Lintian on the package and on the changes (which also checks the .buildinfo); the
# informational tags are shown, and only errors and warnings fail.
if ! lintian --info --display-info --fail-on error,warning "$out"/vornel_"$version"_*.changes >"$out/lintian.log" 2>&1; then
  cat "$out/lintian.log" >&2
  echo "make-deb: lintian reports errors or warnings" >&2
  exit 1
fi
if [[ -s $out/lintian.log ]]; then
  sed 's/^/make-deb: lintian: /' "$out/lintian.log"
else
  echo "make-deb: lintian: no tags"
fi

"$here/scripts/check-deb.sh" "$deb"
