#!/usr/bin/env bash
# Builds the handler's platform-free parts natively with clang and checks them under the sanitizers:
# unit and property tests (AddressSanitizer + UndefinedBehaviorSanitizer), the lock and the shared module state
# (ThreadSanitizer), and libFuzzer targets run over their regression inputs and then for a bounded time.
# Prints one result line per part; exits non-zero when any part fails.
# TARNCTX_FUZZ_SECONDS sets each fuzz target's time (default 30).
set -uo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${TARNCTX_FUZZ_SECONDS:-30}
fuzz_targets=(drop_files command_line)
# Inputs that once found a fault in the code they fuzz; every run replays them first.
corpus=tests/native/fuzz/corpus
failures=0

export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

fail() {  # part, log
  echo "native $1: FAILED (log: $2)"
  tail -n 40 "$2" | sed 's/^/    /'
  failures=$((failures + 1))
}

seconds_since() { echo $(( $(date +%s) - $1 )); }

build() {  # sanitizer set; the log goes to build/native-SET/build.log
  local dir=build/native-$1
  mkdir -p "$dir"
  { [ -f "$dir/build.ninja" ] || cmake -S tests/native -B "$dir" -G Ninja \
      -DCMAKE_CXX_COMPILER=clang++ -DTARNCTX_SANITIZE="$1"; } >"$dir/build.log" 2>&1 &&
    cmake --build "$dir" >>"$dir/build.log" 2>&1 || { fail "$1 build" "$dir/build.log"; return 1; }
}

gtest() {  # part, log, program...
  local part=$1 log=$2 start
  shift 2
  start=$(date +%s)
  if "$@" --gtest_brief=1 >"$log" 2>&1; then
    echo "native $part: $(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$log" | head -1), all passed" \
         "($(seconds_since "$start") s)"
  else
    fail "$part" "$log"
  fi
}

fuzz() {  # target
  local target=$1 dir=build/native-fuzz
  local program=$dir/fuzz_$target log=$dir/fuzz_$target.log work=$dir/corpus/$target artifacts=$dir/artifacts/$target/
  mkdir -p "$work" "$artifacts"
  local regressions=("$corpus/$target"/*)
  [ -e "${regressions[0]}" ] || regressions=()
  if [ ${#regressions[@]} -gt 0 ] && ! "$program" "${regressions[@]}" >"$log" 2>&1; then
    fail "fuzz $target regression inputs" "$log"
    return
  fi
  # New coverage goes to the build folder's corpus; the committed inputs only seed it.
  if "$program" -max_total_time="$fuzz_seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$artifacts" "$work" "$corpus/$target" >>"$log" 2>&1; then
    local runs coverage
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    coverage=$(grep 'DONE' "$log" | tail -1 | grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*')
    echo "native fuzz $target: ${#regressions[@]} regression inputs pass; ${fuzz_seconds} s: $runs runs," \
         "$coverage, no fault"
  else
    fail "fuzz $target (the input is in $artifacts; once fixed, add it to $corpus/$target)" "$log"
  fi
}

start=$(date +%s)
if build asan; then
  gtest "asan+ubsan tests" build/native-asan/tests.log build/native-asan/native_tests
fi
if build tsan; then
  # Without address randomization: ThreadSanitizer's fixed memory layout then fits whatever the kernel's setting.
  gtest "tsan tests" build/native-tsan/tests.log setarch "$(uname -m)" -R build/native-tsan/native_thread_tests
fi
if build fuzz; then
  for target in "${fuzz_targets[@]}"; do fuzz "$target"; done
fi
echo "native stage: $failures failed part(s) ($(seconds_since "$start") s)"
[ "$failures" -eq 0 ]
