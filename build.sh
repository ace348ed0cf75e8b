#!/usr/bin/env bash
# Tintara's two commands:
#   ./build.sh run    install what is missing, build (Release), start Tintara
#   ./build.sh test   install what is missing, build, run the whole test suite through CTest
# Environment: TINTARA_WERROR=ON turns warnings into errors (CI sets it).
set -euo pipefail
cd "$(dirname "$0")"

# Everything the build, the program and the tests need, and nothing else.
PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev libgl-dev libx11-dev libxext-dev
  libpugixml-dev libexpat1-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xdotool xclip x11-xserver-utils x11-utils openbox fonts-liberation python3
)

ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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

configure_release() {
  cmake --preset release -DTINTARA_WERROR="${TINTARA_WERROR:-OFF}" >/dev/null
}

case "${1:-}" in
  run)
    ensure_packages
    configure_release
    cmake --build build/release --target tintara
    exec build/release/bin/tintara
    ;;
  test)
    ensure_packages
    configure_release
    cmake --build build/release
    ctest --test-dir build/release --output-on-failure -j2
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
