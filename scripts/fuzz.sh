#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each (default 60) with AddressSanitizer,
# UndefinedBehaviorSanitizer and libFuzzer, built by clang-14 in build-fuzz/.
# An input slower than 2 s, a process above 512 MB, a crash, a sanitizer
# report or a broken invariant fails the run; its reproducer is copied into
# fuzz/regressions/<target>/, which the normal test suite replays.
#   FUZZ_TARGETS="line_reader compile"  only these targets
#   FUZZ_MERGE=1                        fold new inputs into fuzz/corpus/<target>/
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD:-$root/build-fuzz}"
targets="${FUZZ_TARGETS:-field_stream line_reader train_reader compile check lsp}"
jobs="$(nproc)"

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -D_GLIBCXX_ASSERTIONS"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 \
  -DFUZZ=ON -DBUILD_TESTS=OFF -DBUILD_BENCHMARKS=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
for t in $targets; do
  cmake --build "$build" -j "$jobs" --target "fuzz_$t"
done

failed=0
for t in $targets; do
  work="$build/corpus/$t"
  artifacts="$build/artifacts/$t"
  mkdir -p "$work" "$artifacts"
  log="$build/fuzz_$t.log"
  echo "fuzz_$t: ${seconds} s"
  status=0
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
  "$build/bin/fuzz_$t" -max_total_time="$seconds" -timeout=2 -rss_limit_mb=512 \
    -dict="$root/fuzz/scenario.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 \
    "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1 || status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "$log" | sed "s/^/  /" || true
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz_$t FAILED (status $status); the end of $log:"
    tail -n 40 "$log"
    mkdir -p "$root/fuzz/regressions/$t"
    for f in "$artifacts"/*; do
      [ -f "$f" ] || continue
      cp "$f" "$root/fuzz/regressions/$t/"
      echo "  reproducer kept: fuzz/regressions/$t/$(basename "$f")"
    done
  elif [ "${FUZZ_MERGE:-0}" = 1 ]; then
    "$build/bin/fuzz_$t" -merge=1 -timeout=2 -rss_limit_mb=512 "$root/fuzz/corpus/$t" "$work" >>"$log" 2>&1
    echo "  corpus: $(ls "$root/fuzz/corpus/$t" | wc -l) inputs"
  fi
done
if [ "$failed" -ne 0 ]; then
  echo "fuzz: FAILED" >&2
  exit 1
fi
echo "fuzz: every target ran ${seconds} s without a fault"
