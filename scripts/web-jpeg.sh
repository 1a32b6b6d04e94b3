#!/usr/bin/env bash
# Builds libjpeg-turbo for WebAssembly from Debian's own source package of the version the
# native build uses, into FOLDER/install (include/, lib/libjpeg.a). The source is fetched once
# with `apt-get source`, through a source list of this folder's own (the system's apt
# configuration is not touched), and kept; a second call costs nothing.
#   scripts/web-jpeg.sh FOLDER
set -euo pipefail

folder=$(mkdir -p "${1:?usage: $0 FOLDER}" && cd "$1" && pwd)
version=1:2.1.5-2
[ -f "$folder/install/lib/libjpeg.a" ] && exit 0

apt_options=(-q -o "Dir::Etc::SourceList=$folder/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
  -o "Dir::State::Lists=$folder/apt/lists" -o "Dir::Cache=$folder/apt/cache" -o Debug::NoLocking=1)
if [ ! -d "$folder/source" ]; then
  mkdir -p "$folder/apt/lists/partial" "$folder/apt/cache/archives/partial" "$folder/fetch"
  cat >"$folder/apt/sources.list" <<SOURCES
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian-security bookworm-security main
SOURCES
  apt-get "${apt_options[@]}" update >/dev/null
  (cd "$folder/fetch" && apt-get "${apt_options[@]}" source "libjpeg-turbo=$version" >/dev/null 2>&1)
  mv "$folder/fetch/libjpeg-turbo-2.1.5" "$folder/source"
  rm -rf "$folder/fetch"
fi

# Node 20's own fetch breaks the loader emscripten 3.1.6 writes, so the configure checks that
# run a program (the word sizes among them) run it without.
emcmake cmake -S "$folder/source" -B "$folder/build" -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=0 \
  -DENABLE_SHARED=0 -DWITH_TURBOJPEG=0 -DCMAKE_INSTALL_PREFIX="$folder/install" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="node;--no-experimental-fetch" >/dev/null
cmake --build "$folder/build" -j "$(nproc)" --target jpeg-static >/dev/null
mkdir -p "$folder/install/include" "$folder/install/lib"
cp "$folder/build/libjpeg.a" "$folder/install/lib/"
cp "$folder/build/jconfig.h" "$folder/source/jpeglib.h" "$folder/source/jmorecfg.h" "$folder/source/jerror.h" \
  "$folder/install/include/"
