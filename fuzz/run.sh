#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time over its corpus folder.
#   fuzz/run.sh [SECONDS [CORPUS_ROOT]]   defaults: 60 seconds, build-fuzz/corpus
# Each target starts from its committed seeds in fuzz/corpus/<target>/ plus what earlier runs
# kept in CORPUS_ROOT/<target>/. Fails when a target finds a crash, a sanitizer report, a leak
# or a hang; the reproducer is left in build-fuzz/ and the log's end is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
corpus_root=${2:-build-fuzz/corpus}

if [ ! -f build-fuzz/build.ninja ]; then
  launcher=()
  command -v ccache >/dev/null &&
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQB_FUZZ=ON -DQB_GUI=ON \
    -DQB_TESTS=OFF -DQB_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
cmake --build build-fuzz --target fuzz_all -j"$(nproc)"

# The first report ends the run: memory faults, undefined behaviour (also built not to
# recover) and leaks.
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:symbolize=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1

status=0
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  name=$(basename "$target")
  corpus="$corpus_root/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  [ ${#seeds[@]} -gt 0 ] || echo "!! $name has no seed inputs in fuzz/corpus/$name" >&2
  echo "== $name for ${seconds}s over $corpus"
  log="build-fuzz/$name.log"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -artifact_prefix="build-fuzz/$name-" -print_final_stats=1 "$corpus" "${seeds[@]}" 2>"$log" ||
     grep -qE 'runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer' "$log"; then
    echo "!! $name failed; see $log" >&2
    tail -40 "$log" >&2
    status=1
  else
    grep -E 'stat::number_of_executed_units' "$log" | tail -1
  fi
done
exit $status
