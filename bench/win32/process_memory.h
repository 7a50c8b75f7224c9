#pragma once
// This process's committed private memory, for the benchmarks' bytes-per-character figures.

#include <windows.h>

#include <psapi.h>

#include <cstddef>

inline size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PagefileUsage; // Wine leaves PrivateUsage at 0
}
