#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz/ and runs
# each, from its seed inputs in fuzz/corpus/<target>/, for a number of inputs:
#
#   scripts/fuzz.sh [runs] [target...]     runs: 1000000 unless given
#
# Inputs that reach new code go to a scratch folder, not into the corpus. An
# input that crashes, trips a sanitizer or breaks a property is kept as
# build-fuzz/<target>-crash-<hash> and the script fails; the target's whole
# output is in build-fuzz/<target>.log. Replay one with
#   build-fuzz/fuzz/fuzz_<target> build-fuzz/<target>-crash-<hash>
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-1000000}
shift $(($# > 0 ? 1 : 0))

"$top/scripts/install-deps.sh" clang libclang-rt-dev
cmake -S "$top" -B "$top/build-fuzz" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCOGBATTERY_FUZZ=ON > /dev/null
cmake --build "$top/build-fuzz" --target fuzzers > "$top/build-fuzz/build.log" || {
    cat "$top/build-fuzz/build.log"
    exit 1
}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in "$top"/fuzz/fuzz_*.cpp; do
        name=$(basename "$source" .cpp)
        targets+=("${name#fuzz_}")
    done
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passed=0
failed=0
printf '%-16s %10s %8s %6s %8s\n' target runs seconds cov features
for target in "${targets[@]}"; do
    mkdir "$scratch/$target"
    options=(-runs="$runs" -print_final_stats=1 -artifact_prefix="$top/build-fuzz/$target-")
    [ -f "$top/fuzz/$target.dict" ] && options+=(-dict="$top/fuzz/$target.dict")
    log="$top/build-fuzz/$target.log"
    if "$top/build-fuzz/fuzz/fuzz_$target" "${options[@]}" "$scratch/$target" "$top/fuzz/corpus/$target" > "$log" 2>&1; then
        passed=$((passed + 1))
        done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
        seconds=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
        cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<< "$done_line")
        features=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<< "$done_line")
        printf '%-16s %10s %8s %6s %8s\n' "$target" "$runs" "$seconds" "$cov" "$features"
    else
        failed=$((failed + 1))
        tail -n 60 "$log"
        echo "fuzz_$target FAILED: see build-fuzz/$target.log and build-fuzz/$target-crash-*"
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
