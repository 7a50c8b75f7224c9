#!/usr/bin/env bash
# Under Wine: Replace All (100,000 replacements in 10 MB, 1,000,000 in 50 MB) and whole-document
# Find misses over 50 MB, through the document model as the editor drives it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target find_bench -j "${QUILLET_JOBS:-1}" >/dev/null
source tools/wine-env
tools/wine-prefix
wine build/mingw/bench/find_bench.exe </dev/null
cmake --build --preset mingw --target find_e2e_bench -j "${QUILLET_JOBS:-1}" >/dev/null
QUILLET_E2E_TIMEOUT=900 tools/e2e-run build/mingw/bench/find_e2e_bench.exe --quillet=build/mingw/editor/Quillet.exe
