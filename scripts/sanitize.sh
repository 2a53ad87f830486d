#!/bin/sh
# Builds K40 and its tests with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test headless: a sanitizer
# report fails the test it comes from.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh clang libclang-rt-14-dev
FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$FLAGS" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    >/dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$(pwd)/../scripts/lsan.supp":print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1 \
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ctest --output-on-failure -j"$(nproc)"
