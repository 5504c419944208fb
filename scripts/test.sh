#!/usr/bin/env bash
# make test: every test of the project, in every build it runs in.
#   native        the portable core's tests (host g++)
#   native-asan   the same under AddressSanitizer and UBSan
#   win64         the core and Windows tests, cross-built, run under Wine
#   win32         the i686 build (compiled and linked; this machine cannot run 32-bit code)
#   fuzz          each libFuzzer target over its regressions, then for SAPALA_FUZZ_SECONDS
# Every stage runs even when an earlier one failed; the exit code is non-zero if any failed.
# The last line counts all CTest tests: "N passed, N failed".
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc)
log_dir=build/test-logs
mkdir -p "$log_dir"

scripts/setup.sh || { echo "test: setup failed"; exit 1; }

passed=0; failed=0; broken_stages=()
note_ctest() {   # reads a ctest log, adds its counts
  local line
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -n "$line" ]; then
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f)); failed=$((failed + f))
  fi
}
stage() {   # stage NAME COMMAND...: runs it, keeps its log, remembers a failure
  local name=$1; shift
  local start=$SECONDS
  echo "== $name"
  if "$@" 2>&1 | tee "$log_dir/$name.log"; then
    echo "== $name: ok ($((SECONDS - start)) s)"
  else
    echo "== $name: FAILED ($((SECONDS - start)) s)"
    broken_stages+=("$name")
  fi
  note_ctest "$log_dir/$name.log"
}
build() { cmake --preset "$1" >/dev/null && cmake --build "build/$1" -j "$jobs"; }

# The native build also makes the dictionary workbook that the end-to-end test installs.
stage native bash -c "$(declare -f build); build native && cmake --build build/native --target dictionary skin && ctest --preset native -j $jobs"
stage native-asan bash -c "$(declare -f build); build native-asan && ctest --preset native-asan -j $jobs"
# The i686 build comes first: the win64 tests also check its release program.
stage win32 bash -c "$(declare -f build); build win32 && ls -l build/win32/src/win/app/sapala.exe build/win32/release/sapala.exe"
stage win64 bash -c "$(declare -f build); build win64 && scripts/wine-session.sh ctest --preset win64"
if ls fuzz/*/CMakeLists.txt >/dev/null 2>&1; then
  stage fuzz bash -c "$(declare -f build); build fuzz && ctest --preset fuzz -j $jobs"
fi

echo
if [ ${#broken_stages[@]} -gt 0 ]; then
  echo "test: failed stages: ${broken_stages[*]} (logs in $log_dir)"
fi
echo "$passed passed, $failed failed"
[ ${#broken_stages[@]} -eq 0 ] && [ "$failed" -eq 0 ]
