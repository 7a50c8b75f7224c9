#!/usr/bin/env bash
# Under Wine, in-process: typing in the middle of a 50 MB Windows-1251 document in the real text
# view, from the key press to the repainted window, without and with word wrap; then the same
# for a document that is a single line. Sizes and keys: QUILLET_KEYS_MB=50 QUILLET_KEYS=200
# QUILLET_LINE_MB=20. QUILLET_CLASSIC=1 runs in a copy of the prefix with Wine's theme off: Wine
# draws a themed scroll bar in about 10 ms, which every key that moves a bar pays.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target keystroke_bench -j "${QUILLET_JOBS:-1}" >/dev/null
source tools/wine-env
started_xvfb=
if [ -z "${DISPLAY:-}" ]; then
    tools/xvfb start
    source tools/wine-env
    started_xvfb=1
fi
tools/wine-prefix
if [ "${QUILLET_CLASSIC:-0}" = 1 ]; then
    classic=$root/build/wineprefix-classic
    if [ ! -d "$classic" ]; then
        cp -a "$WINEPREFIX" "$classic"
        WINEPREFIX=$classic wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' \
            /v ThemeActive /t REG_SZ /d 0 /f >/dev/null 2>&1
        WINEPREFIX=$classic wineserver -w
    fi
    export WINEPREFIX=$classic
fi
status=0
for wrap in 0 1; do
    wine build/mingw/bench/keystroke_bench.exe "${QUILLET_KEYS_MB:-50}" "${QUILLET_KEYS:-200}" "$wrap" \
        </dev/null 2>/dev/null || status=$?
done
# A document that is one line (a dump, a log without breaks): the first keys a user tries.
for wrap in 0 1; do
    wine build/mingw/bench/keystroke_bench.exe "${QUILLET_LINE_MB:-20}" 50 "$wrap" 1 \
        </dev/null 2>/dev/null || status=$?
done
[ -n "$started_xvfb" ] && tools/xvfb stop
exit "$status"
