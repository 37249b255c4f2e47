#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time over its corpus folder.
#   fuzz/run.sh [SECONDS [CORPUS_ROOT]]   defaults: 60 seconds, build-fuzz/corpus
# Fails when a target finds a crash, a leak or a hang; the reproducer is left in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
corpus_root=${2:-build-fuzz/corpus}

if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DQB_FUZZ=ON -DQB_GUI=ON \
    -DQB_TESTS=OFF -DQB_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build build-fuzz -j2

status=0
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$corpus_root/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")  # committed seed inputs
  echo "== $name for ${seconds}s over $corpus"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -artifact_prefix="build-fuzz/$name-" -print_final_stats=1 "$corpus" "${seeds[@]}" 2>"build-fuzz/$name.log"; then
    echo "!! $name failed; see build-fuzz/$name.log" >&2
    tail -40 "build-fuzz/$name.log" >&2
    status=1
  else
    grep -E 'stat::number_of_executed_units|cov:' "build-fuzz/$name.log" | tail -2
  fi
done
exit $status
