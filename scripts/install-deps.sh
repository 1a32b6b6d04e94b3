#!/usr/bin/env bash
# Installs the Debian packages Vornel builds with, and only those that are missing: when
# everything is present this costs one dpkg query and touches no network. With the argument
# "web", also the packages of the browser build; with "deb", the tools that build and check
# the Debian package.
set -euo pipefail

packages=(
  build-essential  # g++ and make
  cmake
  libgtest-dev     # GoogleTest, through CTest
  libjpeg62-turbo-dev  # JPEG pictures of the picture bank
  libpng-dev       # pictures read and written by the content tools
  libfreetype-dev  # the font builder
  libxxhash-dev    # the hash of each frame of a demo
  fonts-dejavu-core  # the typeface the game's font is made from
  libsdl2-dev      # the window, input and sound of the emulated handheld
  xvfb             # tests: an X display of their own, for a window that keeps real time
  libbenchmark-dev  # benchmarks: Google Benchmark
  libpixman-1-dev  # benchmarks: the peer compositor
  clang            # fuzzing (make fuzz): libFuzzer comes with clang
  libclang-rt-dev  # fuzzing: the libFuzzer and sanitizer runtimes
)

# `install-deps.sh web`: also what the browser build and its tests need.
if [[ "${1:-}" == web ]]; then
  packages+=(
    emscripten     # the WebAssembly compiler (em++) and its system libraries
    dpkg-dev       # apt-get source unpacks libjpeg-turbo's source package with dpkg-source
    chromium       # the browser the web tests drive
  )
fi

# `install-deps.sh deb`: also what `make deb` needs to build and check the package.
if [[ "${1:-}" == deb ]]; then
  packages+=(
    dpkg-dev            # dpkg-buildpackage
    debhelper           # dh, with the CMake build system
    lintian             # the package's checks
    appstream           # appstreamcli validate, for the metadata
    desktop-file-utils  # desktop-file-validate, for the menu entry
    man-db              # man, to see the manual page as a reader will
  )
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    missing+=("$package")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) and no root rights; install them and retry" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
if ! { "${sudo[@]}" apt-get update -qq && "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "install-deps: apt-get failed (output above)" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
