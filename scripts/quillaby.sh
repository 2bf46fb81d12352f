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
  python3 git
  clang-14 libclang-rt-14-dev llvm-14 clang-format
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

# Every C++ file in git must already have the layout of .clang-format.
check_layout() {
  if [ ! -e "$here/.git" ]; then
    echo "Not a git checkout: the layout of the C++ files is not checked"
    return 0
  fi
  echo "Checking the layout of the C++ files"
  if ! (cd "$here" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror); then
    echo "The layout differs from .clang-format: run clang-format -i on the files named above" >&2
    return 1
  fi
}

# Each fuzz target of the build in $1 for a while on a copy of its seeds, so
# that the tree is not written; a crash, a leak, a hang or a blown memory
# limit fails. The log and any input that failed stay in the build.
fuzz_smoke() {
  local out=$1 seconds=${QUILLABY_FUZZ_SECONDS:-20}
  local work failed=() entry name seeds dict
  work=$(mktemp -d)
  rm -rf "$out/fuzz-artifacts"
  mkdir -p "$out/fuzz-artifacts"
  for entry in wif_reader_fuzz:corpus:wif.dict yarn_archive_fuzz:yarn-corpus: \
               picture_reader_fuzz:picture_corpus:picture.dict; do
    IFS=: read -r name seeds dict <<<"$entry"
    cp -r "$here/tests/fuzz/$seeds" "$work/$name"
    local args=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
                -artifact_prefix="$out/fuzz-artifacts/$name-")
    [ -n "$dict" ] && args+=(-dict="$here/tests/fuzz/$dict")
    if "$out/tests/fuzz/$name" "${args[@]}" "$work/$name" >"$out/$name.log" 2>&1; then
      echo "$name: $(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log") runs in ${seconds} s, no fault"
    else
      # The report from its first line on; the fuzzer's progress before it says little.
      local from
      from=$(grep -n -m1 -E '==ERROR|runtime error|deadly signal|ALARM|out-of-memory' "$out/$name.log" | cut -d: -f1)
      tail -n +"${from:-1}" "$out/$name.log" | head -n 200 || true
      echo "$name failed: its log is $out/$name.log, the input in $out/fuzz-artifacts" >&2
      failed+=("$name")
    fi
  done
  rm -rf "$work"
  [ ${#failed[@]} -eq 0 ]
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
    check_layout
    configure_and_build
    export QT_QPA_PLATFORM=offscreen
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    (cd "$build" && ctest --output-on-failure -j2 --timeout 300)
    # The core and the command line again under AddressSanitizer and UBSan,
    # with the draft's invariants checked after every edit. Built with clang
    # and the fuzzer's coverage, so that the same build gives the fuzz
    # targets. Lighter optimisation and line tables only: the sanitizer
    # build is compiled from scratch on every CI run.
    sanitize=$build-sanitize
    # One left by gcc is configured afresh: CMake drops every option when
    # the compiler changes under it.
    fresh=()
    if [ -f "$sanitize/CMakeCache.txt" ] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang++-14$' "$sanitize/CMakeCache.txt"; then
      fresh=(--fresh)
    fi
    cmake "${fresh[@]}" -S "$here" -B "$sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++-14 \
      -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g1" -DCMAKE_C_FLAGS_RELEASE="-O1 -g1" \
      -DQUILLABY_SANITIZE=ON -DQUILLABY_FUZZ=ON \
      -DQUILLABY_BUILD_UI=OFF -DQUILLABY_BUILD_PRINT=OFF -DQUILLABY_BUILD_BENCH=OFF
    cmake --build "$sanitize" -j2
    (cd "$sanitize" && ctest --output-on-failure -j2 --timeout 600)
    fuzz_smoke "$sanitize"
    ;;
  *)
    echo "usage: $0 run [FILE] | test" >&2
    exit 2
    ;;
esac
