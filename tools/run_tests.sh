#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless (X tests start a
# private Xvfb each). TAVREL_SANITIZE=1 builds with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize instead.
set -eu
cd "$(dirname "$0")/.."
if [ "${TAVREL_SANITIZE:-0}" = 1 ]; then
  dir=build-sanitize
  flags=(-DTAVREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
  export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  dir=build
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
