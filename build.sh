#!/usr/bin/env bash
# Tintara's two commands:
#   ./build.sh run      install what building and running need, build (Release), start Tintara
#   ./build.sh test     install that plus what the tests need, build, run the whole test suite through CTest
# and one for packagers:
#   ./build.sh package  build the Debian package build/release/package/tintara_<version>_<arch>.deb
# Environment: TINTARA_WERROR=ON turns warnings into errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")"

# What building and running Tintara need, and nothing else.
PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev libgl-dev libx11-dev libx11-xcb-dev libxcb-shm0-dev libxext-dev
  libpugixml-dev libexpat1-dev
  librsvg2-bin
  fonts-liberation
)

# What the tests, the benchmarks and the fuzz targets add.
TEST_PACKAGES=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xdotool xclip x11-xserver-utils x11-utils openbox python3
  desktop-file-utils appstream dpkg-dev file
)

# What building the .deb adds (dpkg-shlibdeps reads the dependencies from the executable).
PACKAGE_PACKAGES=(
  dpkg-dev file
)

ensure_packages() {
  local missing=()
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Tintara needs these Debian packages. Install them as root with:" >&2
    echo "  apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# A first configuration for running or packaging leaves the tests out, so it needs none of their
# packages; a tree that `test` has configured keeps its tests.
configure_release() {
  local extra=()
  [ -f build/release/CMakeCache.txt ] || extra=(-DBUILD_TESTING=OFF)
  cmake --preset release -DTINTARA_WERROR="${TINTARA_WERROR:-OFF}" "${extra[@]}" "$@" >/dev/null
}

case "${1:-}" in
  run)
    ensure_packages "${PACKAGES[@]}"
    configure_release
    cmake --build build/release --target tintara
    exec build/release/bin/tintara
    ;;
  test)
    ensure_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    configure_release -DBUILD_TESTING=ON -DTINTARA_BENCH=ON
    cmake --build build/release
    ctest --test-dir build/release --output-on-failure -j2
    ;;
  package)
    ensure_packages "${PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    configure_release
    cmake --build build/release
    (cd build/release && cpack)
    ls build/release/package/*.deb
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
