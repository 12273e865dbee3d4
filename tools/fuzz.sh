# ./qorin fuzz [--time SECONDS] [--jobs N]: fuzzes the picture loader with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer. The corpus (build-fuzz/corpus) starts from the
# loader's seed kinds, every generated picture and the regression cases, and grows between runs.
# A crashing input is kept in build-fuzz/crashes/ and the run fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

seconds=600 jobs=1
while [ $# -gt 0 ]; do
  case "$1" in
    --time) seconds="${2:?}"; shift 2 ;;
    --jobs) jobs="${2:?}"; shift 2 ;;
    *) die "unknown option '$1' (./qorin fuzz [--time SECONDS] [--jobs N])" ;;
  esac
done
[[ "$seconds" =~ ^[0-9]+$ && "$jobs" =~ ^[1-9][0-9]*$ ]] || die "--time and --jobs take numbers"

ensure_packages clang libclang-rt-14-dev cmake python3
fuzzBuild="${QORIN_FUZZ_BUILD_DIR:-$root/build-fuzz}"
if [ ! -f "$fuzzBuild/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$fuzzBuild" >&2
fi
cmake --build "$fuzzBuild" -j"$(nproc)" >&2

corpus="$fuzzBuild/corpus" crashes="$fuzzBuild/crashes"
mkdir -p "$corpus" "$crashes"
seeds="$fuzzBuild/seeds"
rm -rf "$seeds"; mkdir -p "$seeds"
python3 "$root/fuzz/seeds.py" "$seeds"
# The generated pictures, when the main build has drawn them: the files the programs really load.
if [ -d "$build/pictures" ]; then
  find "$build/pictures" -name '*.bmp' -size -400k -exec cp --backup=numbered -t "$seeds" {} + 2>/dev/null || true
fi
[ -d "$root/tests/gdi/bmp-regressions" ] && cp "$root"/tests/gdi/bmp-regressions/* "$seeds"/ 2>/dev/null || true

echo "qorin: fuzzing the picture loader for $seconds s with $jobs job(s); corpus in $corpus" >&2
log="$fuzzBuild/fuzz.log"
set +e
(cd "$fuzzBuild" && ./fuzz_load_image "$corpus" "$seeds" -max_total_time="$seconds" -max_len=400000 \
  -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 -artifact_prefix="$crashes/" \
  -jobs="$jobs" -workers="$jobs" -print_final_stats=1 >"$log" 2>&1)
status=$?
set -e
[ "$jobs" -gt 1 ] && cat "$fuzzBuild"/fuzz-*.log >>"$log" 2>/dev/null
grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^#[0-9]+.*DONE' "$log" >&2 || tail -5 "$log" >&2
if [ $status -ne 0 ] || [ -n "$(ls -A "$crashes")" ]; then
  echo "qorin: the fuzzer found a failure; inputs in $crashes, log in $log" >&2
  exit 1
fi
echo "qorin: no failure; log in $log" >&2
