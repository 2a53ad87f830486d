#!/bin/sh
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer, the model instrumented too) and runs each on a
# seed corpus made from the sample data and the bad-input corpus.
#   sh scripts/fuzz.sh [seconds per target]     (default 30)
# A crash, a sanitizer report or a hang fails the run; what the fuzzer found
# is left in build-fuzz/findings.
set -eu
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-30}
./scripts/setup.sh clang libclang-rt-14-dev
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
    >/dev/null
TARGETS="fuzz_cp932 fuzz_gtfs fuzz_hy3 fuzz_settings fuzz_tape fuzz_ticketplugin"
# shellcheck disable=SC2086
cmake --build build-fuzz -j"$(nproc)" --target hy3 $TARGETS >/dev/null

# Seeds: what the readers are given in real use, and what they must refuse.
seeds() {
    dir=build-fuzz/corpus/$1
    mkdir -p "$dir"
    shift
    for f in "$@"; do [ -f "$f" ] && cp "$f" "$dir/"; done
    return 0
}
./build-fuzz/tools/hy3/hy3 import data/sample/12.csv build-fuzz/12.hy3
seeds fuzz_hy3 build-fuzz/12.hy3 tests/badinput/fares/*
seeds fuzz_settings tests/badinput/settings/*
seeds fuzz_tape data/sample/12tp.csv tests/badinput/announcements/*
seeds fuzz_ticketplugin data/plugins/*.4SP tests/badinput/plugins/*
seeds fuzz_cp932 data/sample/12tp.csv tests/badinput/announcements/utf8.csv
# A feed's six files joined at "@" lines, as fuzz_gtfs splits its input.
mkdir -p build-fuzz/corpus/fuzz_gtfs
for f in routes stops trips stop_times fare_attributes fare_rules; do
    cat "fuzz/gtfs/$f.txt"
    printf '@'
done >build-fuzz/corpus/fuzz_gtfs/minifeed

mkdir -p build-fuzz/findings
status=0
for t in $TARGETS; do
    dict=""
    case $t in
        fuzz_ticketplugin) dict="-dict=fuzz/ticketplugin.dict" ;;
        fuzz_tape) dict="-dict=fuzz/tape.dict" ;;
    esac
    echo "fuzz: $t for ${SECONDS_EACH}s"
    # shellcheck disable=SC2086
    if ! ./build-fuzz/fuzz/$t build-fuzz/corpus/$t $dict -max_total_time="$SECONDS_EACH" \
        -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/findings/$t- >build-fuzz/$t.log 2>&1; then
        status=1
        tail -40 build-fuzz/$t.log
    fi
    grep -E "cov:" build-fuzz/$t.log | tail -1 || true
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" build-fuzz/$t.log || true
done
exit $status
