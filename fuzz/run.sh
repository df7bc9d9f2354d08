#!/usr/bin/env bash
# Builds the MIF fuzz target (preset "fuzz", Clang) and runs it for SECONDS
# (default 120) over the corpus cut from the shared samples and the
# examples, plus the committed seeds (the reproducers of faults found
# before). Exits non-zero on any finding; the input is left in
# build-fuzz/fuzz/findings/ (turn it into a seed and a test).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-120}"
cmake --preset fuzz
cmake --build --preset fuzz
dir=build-fuzz/fuzz
mkdir -p "$dir/findings" "$dir/corpus"
"$dir/veltrano_mif_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=30 \
  -rss_limit_mb=2560 -dict=fuzz/mif.dict -artifact_prefix="$dir/findings/" \
  -print_final_stats=1 "$dir/corpus" fuzz/seeds
