#!/usr/bin/env bash
# Set-up, build, run and test Quillet on Debian 12 (run as root or with sudo available).
#   scripts/quillet.sh run    install what is missing, build, start the program
#   scripts/quillet.sh test   install what is missing, build and run the whole test suite, then build
#                             it again with the address and undefined-behaviour sanitizers (clang)
#                             and run it again, with a short run of the loading-road fuzz target
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake ninja-build qt6-base-dev qt6-translations-l10n libgl-dev fonts-wqy-microhei xvfb xauth
    fonts-dejavu-core # the smooth outlines' page of text, drawn in DejaVu Serif
    clang-14 libclang-rt-14-dev # one clang version: the asan preset names clang++-14, whose fuzzer runtime this is
    llvm-14 # its llvm-symbolizer names the source files in the fuzz run's coverage report
    dpkg-dev file lintian desktop-file-utils man-db devscripts # the hardening flags and the package check
    python3 # the fuzz folder's instrumentation check
    python3-ezdxf librsvg2-bin librecad freecad poppler-utils) # real readers of the drawings; pdftoppm

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        echo "Installing: ${missing[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

build() {
    local preset=$1
    shift
    cmake --preset "$preset" "$@"
    cmake --build --preset "$preset" -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing
    build release
    exec build/release/bin/quillet
    ;;
test)
    install_missing
    build dev
    ctest --preset dev -j "$(nproc)" --output-on-failure
    # QUILLET_FUZZ_SECONDS sets how long the fuzz test runs (a minute unless said otherwise).
    build asan -DQUILLET_FUZZ_SECONDS="${QUILLET_FUZZ_SECONDS:-60}"
    ctest --preset asan -j "$(nproc)" --output-on-failure
    echo "The fuzz run's edges, per source file:"
    cat build/asan/fuzz/fuzz-run/coverage.txt
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
