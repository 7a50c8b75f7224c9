#!/usr/bin/env bash
# Under Wine, Quillet side by side with Wine's notepad: launch to a ready window for 1, 10 and
# 50 MB Windows-1251 files, private memory per character, and one keystroke in the middle of
# the largest document. Sizes can be chosen: QUILLET_BENCH_SIZES=1,10
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Quillet quillet_bench -j "${QUILLET_JOBS:-1}" >/dev/null
QUILLET_E2E_TIMEOUT=900 tools/e2e-run build/mingw/bench/quillet_bench.exe --quillet=build/mingw/editor/Quillet.exe \
    "--sizes=${QUILLET_BENCH_SIZES:-1,10,50}"
