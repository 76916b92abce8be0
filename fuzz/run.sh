#!/usr/bin/env bash
# Builds the fuzz targets (clang, build-fuzz/) and runs each for a while, two at a time.
# Fails on any crash, hang (one input over 10 s of processor time, or over 120 s of wall
# time for one that does not end), leak or sanitizer report, and names the input. Usage: fuzz/run.sh [SECONDS] [TARGET ...]  (default 20 s, all).
# New inputs that reach further are kept in build-fuzz/corpus/TARGET, findings in
# build-fuzz/findings/TARGET/. See fuzz/README.md.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(parse contour progfiles draw edit_script nest)

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKERBON_FUZZ=ON \
      -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >build-fuzz.log 2>&1 ||
    { cat build-fuzz.log; exit 1; }
cmake --build build-fuzz -j2 --target fuzzers >>build-fuzz.log 2>&1 ||
    { tail -n 80 build-fuzz.log; exit 1; }

# The seed folders of a target (the drawing readers share theirs) and its dictionary.
seeds() {
    case $1 in
        parse|draw|nest) echo fuzz/corpus/drawings ;;
        *) echo "fuzz/corpus/$1" ;;
    esac
    [ ! -d "fuzz/regressions/$1" ] || echo "fuzz/regressions/$1"
}
dict() {
    case $1 in
        parse|draw|nest|contour) echo -dict=fuzz/dxf.dict ;;
        edit_script) echo -dict=fuzz/edit_script.dict ;;
    esac
}

run_one() {
    local t=$1 seconds=$2 work=build-fuzz/corpus/$1 found=build-fuzz/findings/$1/
    mkdir -p "$work" "$found"
    # The seeds and every input that once failed are run first; then fuzzing for $seconds.
    if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
       "build-fuzz/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=120 -rss_limit_mb=2048 \
       -max_len=16384 -entropic_scale_per_exec_time=1 -print_final_stats=1 -artifact_prefix="$found" $(dict "$t") \
       "$work" $(seeds "$t") >"build-fuzz/fuzz-$t.log" 2>&1; then
        echo "fuzz $t: $(grep DONE "build-fuzz/fuzz-$t.log" | tail -n 1)"
    else
        tail -n 40 "build-fuzz/fuzz-$t.log"
        echo "fuzz $t: FAILED; the input is in $found (copy it to fuzz/regressions/$t/ with the fix)"
        return 1
    fi
}
export -f run_one seeds dict
# The targets write scratch files: in memory where there is a place for them.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
printf '%s\n' "${targets[@]}" | xargs -P 2 -I{} bash -c "run_one {} $seconds"
