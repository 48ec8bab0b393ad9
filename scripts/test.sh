#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   also a second build under AddressSanitizer and
#                                UndefinedBehaviorSanitizer, in build-sanitize/
# Both builds fail on any compiler warning; a file off .clang-format, or an include that runs
# back up the folders' floors, fails before either.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0
for arg in "$@"; do
    case "$arg" in
        --sanitize) sanitize=1 ;;
        *) echo "unknown option: $arg" >&2; exit 2 ;;
    esac
done

# poppler-utils: a test reads the rendered manual with pdftotext; xvfb and xauth: a test pastes
# the X11 selection on a virtual display.
./scripts/install-deps.sh poppler-utils xvfb xauth

jobs=$(nproc 2>/dev/null || echo 2)

# Every C++ file of the project as the repository's .clang-format lays it out.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -co --exclude-standard '*.cpp' '*.h'
else
    find . -path ./build\* -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0
fi | xargs -0 clang-format --dry-run --Werror

# Includes run only down the floors of the folders, never back up or across.
./scripts/check-floors.sh

run_build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure --timeout 900 -j "$jobs"
}

run_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDEWYN_WERROR=ON
if [ "$sanitize" = 1 ]; then
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    run_build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTIDEWYN_SANITIZE=ON -DTIDEWYN_BENCH=OFF -DTIDEWYN_WERROR=ON
fi
