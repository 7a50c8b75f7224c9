// The end-to-end test program. It runs inside a Wine virtual desktop whose launcher returns at
// once, so it writes its results to a log file and marks its end in a second file (tools/e2e-run).

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    std::wstring log, done;
    auto& env = quillet::e2e::Env();
    const std::pair<const wchar_t*, std::wstring*> options[] = {{L"--quillet=", &env.quilletExe},
                                                                {L"--install=", &env.installExe},
                                                                {L"--log=", &log},
                                                                {L"--done=", &done}};
    for (int i = 1; i < argc; ++i)
        for (const auto& [name, value] : options)
            if (std::wcsncmp(argv[i], name, std::wcslen(name)) == 0)
                *value = argv[i] + std::wcslen(name);
    if (!log.empty()) {
        _wfreopen(log.c_str(), L"w", stdout);
        _wfreopen(log.c_str(), L"a", stderr);
        setvbuf(stdout, nullptr, _IONBF, 0);
    }
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    if (FILE* f = done.empty() ? nullptr : _wfopen(done.c_str(), L"w")) {
        std::fprintf(f, "%d\n", result);
        std::fclose(f);
    }
    return result;
}
