#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, ASan and UBSan into build-fuzz and runs each one
# for VARNIX_FUZZ_SECONDS (30) on a copy of its seed corpus in fuzz/corpus. Any crash, leak,
# broken property or input that takes longer than 10 s fails the run; the input is kept in
# build-fuzz/findings. Prints the executions of every target.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is not installed, fuzz targets skipped"
    exit 0
fi
seconds=${VARNIX_FUZZ_SECONDS:-30}
dir=$PWD/build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARNIX_FUZZ=ON -DVARNIX_TESTS=OFF >/dev/null
targets=$(cd fuzz && ls *_fuzz.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build "$dir" -j"$(nproc)" --target $targets
mkdir -p "$dir/findings"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
# The toolkit's own caches are not leaks of ours (see fuzz/lsan.supp).
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for target in $targets; do
    work=$(mktemp -d)
    cp -r "fuzz/corpus/${target%_fuzz}/." "$work/" 2>/dev/null || true
    log="$dir/findings/$target.log"
    if "$dir/fuzz/$target" "$work" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
        >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz: $target ran ${seconds} s, ${runs:-?} executions, no finding"
    else
        echo "fuzz: $target FAILED (log: $log)"
        tail -n 40 "$log"
        failed=1
    fi
    rm -rf "$work"
done
exit $failed
