#!/usr/bin/env bash
# The main job on the bundled example: builds the project, converts the entry
# paragraphs of chapter 1 into index markers (writing into a scratch
# directory, so the example stays as it is), then shows the result.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target veltrano veltrano_plugin

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
veltrano=build/headless/cli/veltrano

echo "== Insert All Markers on examples/guide/ch1.mif"
"$veltrano" --home examples/home --output "$out" InsertAllMarkers examples/guide/ch1.mif
echo
echo "== The chapter as written to $out"
"$veltrano" dump "$out/ch1.mif"
