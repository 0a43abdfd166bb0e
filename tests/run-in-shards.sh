#!/bin/sh
# Runs a GoogleTest program as several programs at once, one a processor,
# each with its share of the tests (GoogleTest's own sharding), and fails
# when any share fails. Office tests spend their time in office starts, each
# on one processor: side by side they use the others. Each share's output
# is printed whole once all have ended.
# Usage: run-in-shards.sh PROGRAM [ARGUMENTS...]
set -u
shards=$(nproc 2>/dev/null || echo 1)
output=$(mktemp -d "${TMPDIR:-/tmp}/vantrelo-shards-XXXXXX") || exit 1
pids=""
# A share left running would outlive the test's time limit.
trap 'kill $pids 2>/dev/null; rm -rf "$output"; exit 1' HUP INT TERM
i=0
while [ "$i" -lt "$shards" ]; do
  GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$i "$@" >"$output/$i" 2>&1 &
  pids="$pids $!"
  i=$((i + 1))
done
status=0
i=0
for pid in $pids; do
  wait "$pid" || status=1
  echo "== share $((i + 1)) of $shards"
  cat "$output/$i"
  i=$((i + 1))
done
rm -rf "$output"
exit $status
