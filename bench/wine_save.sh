#!/usr/bin/env bash
# Under Wine: saving a 50 MB document (the code-page check, then the write through the codec
# and the safe replace), three runs, with the memory the save adds. Size: QUILLET_SAVE_MB=50
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target save_bench -j "${QUILLET_JOBS:-1}" >/dev/null
source tools/wine-env
tools/wine-prefix
# Beside the build, on the same disk as the documents a user keeps.
mkdir -p build/save-bench
wine build/mingw/bench/save_bench.exe "${QUILLET_SAVE_MB:-50}" "$(winepath -w build/save-bench)" </dev/null
