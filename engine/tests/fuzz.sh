#!/bin/sh
# Runs the libFuzzer parser target for a bounded time.
# fuzz.sh FUZZER SEEDS REGRESSIONS WORKDIR SECONDS
# The seeds (the generated skins) and the kept regression inputs start the corpus;
# a fault leaves its input in WORKDIR/artifacts and fails the test: copy it into
# engine/tests/regressions to keep it.
set -e
fuzzer=$1 seeds=$2 regressions=$3 work=$4 seconds=$5
rm -rf "$work/corpus" "$work/artifacts"
mkdir -p "$work/corpus" "$work/artifacts"
"$fuzzer" -max_total_time="$seconds" -seed=1 -max_len=70000 -timeout=10 -rss_limit_mb=1024 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds" "$regressions"
