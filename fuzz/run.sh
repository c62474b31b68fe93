#!/usr/bin/env bash
# Builds the fuzz targets with clang-14 (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# from the program's own sources, replays every seed corpus, then fuzzes each target for
# VELMORA_FUZZ_SECONDS seconds (30 by default). New inputs go to the build folder, never into
# the committed corpora; a crash leaves its input in <build>/artifacts and fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_FUZZ_BUILD:-$root/build-fuzz}
secs=${VELMORA_FUZZ_SECONDS:-30}
jobs=${VELMORA_JOBS:-$(nproc)}

CC=clang-14 CXX=clang++-14 cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY=
mkdir -p "$build/artifacts"
for corpus in "$root"/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  bin=$build/fuzz_$name
  [ -x "$bin" ] || { echo "fuzz: no target for corpus $name" >&2; exit 1; }
  echo "== fuzz $name: replaying $(ls "$corpus" | wc -l) seeds"
  "$bin" -runs=0 -artifact_prefix="$build/artifacts/$name-" "$corpus" 2>"$build/$name.replay.log" \
    || { tail -n 40 "$build/$name.replay.log" >&2; exit 1; }
  work=$build/work/$name
  rm -rf "$work"
  mkdir -p "$work"
  echo "== fuzz $name: $secs s"
  "$bin" -max_total_time="$secs" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 \
    -artifact_prefix="$build/artifacts/$name-" "$work" "$corpus" 2>"$build/$name.fuzz.log" \
    || { tail -n 60 "$build/$name.fuzz.log" >&2; exit 1; }
  grep -E '^Done [0-9]+ runs' "$build/$name.fuzz.log" || true
done
echo "== fuzz: all targets passed"
