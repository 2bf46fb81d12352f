#!/usr/bin/env bash
# Set up, build and run Quillaby on Debian 12.
#   scripts/quillaby.sh run [FILE]   install what is missing, build, start the editor
#   scripts/quillaby.sh test         install what is missing, build, run every test
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUILLABY_BUILD_DIR:-$here/build}

packages=(
  g++ cmake ninja-build make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-serialport-dev qt6-svg-dev
  libtiff-dev libjpeg-dev libpng-dev zlib1g-dev nlohmann-json3-dev
  xvfb xauth x11-utils imagemagick poppler-utils socat fonts-dejavu-core
  desktop-file-utils shared-mime-info locales
  python3
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  cmake --build "$build" -j2
}

cmd=${1:-}
shift || true
case "$cmd" in
  run)
    install_missing
    configure_and_build
    file=${1:-$here/samples/twill.wif}
    if [ -e "$file" ]; then exec "$build/ui/quillaby" "$file"; fi
    exec "$build/ui/quillaby"
    ;;
  test)
    install_missing
    configure_and_build
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    (cd "$build" && ctest --output-on-failure -j2 --timeout 300)
    # The core and the command line again under AddressSanitizer and UBSan,
    # with the draft's invariants checked after every edit.
    # Lighter optimisation and line tables only: the sanitizer build is
    # compiled from scratch on every CI run.
    cmake -S "$here" -B "$build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g1" -DCMAKE_C_FLAGS_RELEASE="-O1 -g1" \
      -DQUILLABY_SANITIZE=ON -DQUILLABY_BUILD_UI=OFF -DQUILLABY_BUILD_PRINT=OFF -DQUILLABY_BUILD_BENCH=OFF
    cmake --build "$build-sanitize" -j2
    (cd "$build-sanitize" && ctest --output-on-failure -j2 --timeout 600)
    ;;
  *)
    echo "usage: $0 run [FILE] | test" >&2
    exit 2
    ;;
esac
