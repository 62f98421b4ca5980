#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test under CTest.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
BUILD=build/test
JOBS=$(nproc)
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Debug -DKOV_SANITIZE=ON -DKOV_BUILD_TESTS=ON -DKOV_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" -j "$JOBS"
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest -j "$JOBS" --output-on-failure --timeout 600
