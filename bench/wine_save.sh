#!/usr/bin/env bash
# Under Wine: saving a 50 MB document. First in-process (the code-page check, then the write
# through the codec and the safe replace, with the memory the save adds), then Ctrl+S in the
# running editor, from the key to the new file in place. Size: QUILLET_SAVE_MB=50
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
megabytes=${QUILLET_SAVE_MB:-50}
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target save_bench save_e2e_bench -j "${QUILLET_JOBS:-1}" >/dev/null
source tools/wine-env
tools/wine-prefix
# Beside the build, on the same disk as the documents a user keeps.
mkdir -p build/save-bench
wine build/mingw/bench/save_bench.exe "$megabytes" "$(winepath -w build/save-bench)" </dev/null
QUILLET_E2E_TIMEOUT=600 tools/e2e-run build/mingw/bench/save_e2e_bench.exe \
    --quillet=build/mingw/editor/Quillet.exe "--megabytes=$megabytes"
