#!/usr/bin/env bash
# Fuzzes every file reader with the targets of fuzz/targets, built with clang-14 (libFuzzer,
# AddressSanitizer, UndefinedBehaviorSanitizer) from the program's own sources.
#
#   fuzz/run.sh                   what CI runs: replay every seed corpus, then fuzz each target for
#                                 a fixed number of runs with a fixed seed (fuzz/ci-runs.txt), so
#                                 the result depends only on the commit: two runs print the same
#                                 run counts and coverage lines.
#   fuzz/run.sh --long [SECONDS] [TARGET...]
#                                 open-ended fuzzing for contributors: each target until it has
#                                 run 10 million inputs or for SECONDS (1800 by default), whichever
#                                 comes first, with a new seed each time; the inputs it finds are
#                                 kept in <build>/long/<target> and used again by the next run.
#
# New inputs never go into the committed corpora. A crash leaves its input in <build>/artifacts
# and fails the run: fix the reader, then add the input to fuzz/corpus/<target>/ so CI replays it.
# Targets run side by side, VELMORA_JOBS (default: the number of cores) at a time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_FUZZ_BUILD:-$root/build-fuzz}
jobs=${VELMORA_JOBS:-$(nproc)}

mode=ci
secs=1800
only=()
if [ "${1:-}" = "--long" ]; then
  mode=long
  shift
  if [[ "${1:-}" =~ ^[0-9]+$ ]]; then secs=$1; shift; fi
  only=("$@")
elif [ $# -gt 0 ]; then
  echo "usage: fuzz/run.sh [--long [SECONDS] [TARGET...]]" >&2
  exit 2
fi

CC=clang-14 CXX=clang++-14 cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY=
mkdir -p "$build/artifacts" "$build/logs"

# The fixed run count and seed of a target in CI: its line in fuzz/ci-runs.txt, else the defaults.
ci_setting() {  # ci_setting <target> -> "<runs> <seed>"
  local line
  line=$(awk -v t="$1" '$1 == t { print $2, $3; exit }' "$root/fuzz/ci-runs.txt" 2>/dev/null || true)
  [ -n "$line" ] && echo "$line" || awk '$1 == "*" { print $2, $3; exit }' "$root/fuzz/ci-runs.txt"
}

# Fuzzes one target; writes its log and a one-line summary into <build>/logs.
fuzz_one() {
  local name=$1 corpus=$root/fuzz/corpus/$1 bin=$build/fuzz_$1 log=$build/logs/$1
  # An input of the play target draws 120 frames or more under the sanitizers: seconds on a
  # loaded machine, so its hang limit is longer than the readers'.
  local unit=10
  [ "$name" = play ] && unit=60
  local limits=(-rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=$unit -artifact_prefix="$build/artifacts/$name-")
  rm -f "$log.summary"
  export TMPDIR=$tmp/$name
  mkdir -p "$TMPDIR"
  [ -x "$bin" ] || { echo "fuzz $name: no target for corpus $name" >"$log.summary"; return 1; }
  if ! "$bin" -runs=0 "${limits[@]}" "$corpus" >"$log.replay" 2>&1; then
    { echo "fuzz $name: replaying the corpus failed"; tail -n 40 "$log.replay"; } >"$log.summary"
    return 1
  fi
  local seeds
  seeds=$(find "$corpus" -type f | wc -l)
  local work rc=0
  if [ "$mode" = ci ]; then
    local runs seed
    read -r runs seed <<<"$(ci_setting "$name")"
    work=$build/work/$name
    rm -rf "$work"
    mkdir -p "$work"
    # Nothing time-driven may steer the run (no corpus reload, no time limit), and the address
    # layout is fixed: with randomised addresses the coverage of the same inputs varies. The
    # stack's place still follows the size of the arguments and the environment (a longer
    # checkout path, another variable of the machine), and the fuzzer traces the values of
    # comparisons, addresses among them: so the run sees short links of the same length in its
    # temporary folder instead of the checkout's paths, and a fixed environment.
    local links=$tmp/$name
    ln -sfn "$bin" "$links/t"
    ln -sfn "$work" "$links/w"
    ln -sfn "$corpus" "$links/c"
    ln -sfn "$build/artifacts" "$links/a"
    local ci_limits=(-rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=$unit -artifact_prefix="$links/a/$name-")
    (cd "$links" && env -i PATH=/usr/bin:/bin HOME="$links" TMPDIR="$links" VELMORA_RUNTIME_DIR="$links/r" \
      ASAN_OPTIONS="$ASAN_OPTIONS" UBSAN_OPTIONS="$UBSAN_OPTIONS" \
      SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy DISPLAY= \
      $norandom "$links/t" -runs="$runs" -seed="$seed" -reload=0 -print_final_stats=1 "${ci_limits[@]}" \
      "$links/w" "$links/c") >"$log.fuzz" 2>&1 || rc=$?
    if [ $rc -ne 0 ]; then
      { echo "fuzz $name: failed after replaying $seeds seeds (runs $runs, seed $seed)"; tail -n 60 "$log.fuzz"; } >"$log.summary"
      return 1
    fi
    local done cov
    done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log.fuzz")
    cov=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log.fuzz" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*')
    echo "fuzz $name: $seeds seeds replayed; $done runs with seed $seed; $cov" >"$log.summary"
  else
    work=$build/long/$name
    mkdir -p "$work"
    "$bin" -runs=10000000 -max_total_time="$secs" -print_final_stats=1 "${limits[@]}" "$work" "$corpus" >"$log.fuzz" 2>&1 || rc=$?
    if [ $rc -ne 0 ]; then
      { echo "fuzz $name: failed (log $log.fuzz)"; tail -n 60 "$log.fuzz"; } >"$log.summary"
      return 1
    fi
    local done cov
    done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log.fuzz")
    cov=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log.fuzz" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[0-9]+[a-zA-Z]*')
    echo "fuzz $name: $done runs in $secs s; $cov; $(find "$work" -type f | wc -l) inputs kept in $work" >"$log.summary"
  fi
}

names=()
for corpus in "$root"/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  if [ ${#only[@]} -gt 0 ] && [[ ! " ${only[*]} " =~ " $name " ]]; then continue; fi
  names+=("$name")
done
[ ${#names[@]} -gt 0 ] || { echo "fuzz: no such target: ${only[*]}" >&2; exit 2; }
for src in "$root"/fuzz/targets/*.cpp; do
  name=$(basename "$src" .cpp)
  [ -d "$root/fuzz/corpus/$name" ] || { echo "fuzz: target $name has no corpus fuzz/corpus/$name" >&2; exit 1; }
done

# CI runs the targets without address randomisation when the system allows it.
norandom=
if [ "$mode" = ci ]; then
  if setarch "$(uname -m)" -R true 2>/dev/null; then
    norandom="setarch $(uname -m) -R"
  else
    echo "fuzz: cannot turn address randomisation off; coverage lines may differ between runs" >&2
  fi
fi

if [ "$mode" = ci ]; then
  echo "== fuzz: ${#names[@]} targets, $jobs at a time, fixed runs and seeds"
else
  echo "== fuzz --long: ${#names[@]} targets, $secs s each, $jobs at a time"
fi
# The targets' temporary folders (the play target makes its game folder there): one of this
# run's own, so runs at the same time never share one, and a path of the same length on every
# run, since the play target's coverage counts the characters of the paths it builds.
tmp=$(printf '/tmp/velmora-fuzz-%010d' $$)
rm -rf "$tmp"
mkdir -p "$tmp"
trap 'rm -rf "$tmp"' EXIT

export -f fuzz_one ci_setting
export root build mode secs norandom tmp
status=0
printf '%s\n' "${names[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one "$1"' _ {} || status=1
for name in "${names[@]}"; do
  cat "$build/logs/$name.summary" 2>/dev/null || echo "fuzz $name: did not finish"
done
if [ $status -ne 0 ]; then
  echo "== fuzz: FAILED; crash inputs are in $build/artifacts" >&2
  exit 1
fi
echo "== fuzz: all targets passed"
