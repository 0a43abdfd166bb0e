#!/usr/bin/env bash
# Installs, builds and runs every test: the unit tests once more under the
# address and undefined-behaviour sanitizers, then the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
# The project's own checks keep every warning an error.
scripts/setup.sh -DVANTRELO_WERROR=ON

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTRELO_SANITIZE=ON -DVANTRELO_WERROR=ON \
  -DVANTRELO_BUILD_APP=OFF -DVANTRELO_BUILD_BENCH=OFF
cmake --build build-sanitize --target dupes_tests
build-sanitize/tests/dupes/dupes_tests --gtest_brief=1

export QT_QPA_PLATFORM=offscreen
# GoogleTest prints only what failed, so a failure is not lost in a long log.
export GTEST_BRIEF=1
ctest --test-dir build --output-on-failure
