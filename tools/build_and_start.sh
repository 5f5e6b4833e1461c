#!/usr/bin/env bash
# Installs what is missing, builds the programs (not the tests and
# benchmarks, which the test command builds) and starts impulse_sim.
set -eu
cd "$(dirname "$0")/.."
tools/install_deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target programs
exec build/impulse_sim/impulse_sim
