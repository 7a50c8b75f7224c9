// The end-to-end test program. It runs inside a Wine virtual desktop whose launcher returns at
// once, so it writes its results to a log file and marks its end in a second file
// (see tools/e2e-run); a screenshot is kept for every failed test.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

class ScreenshotOnFailure : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo& info) override {
        if (!info.result()->Failed() || quillet::e2e::Env().shotsFolder.empty())
            return;
        std::string name = std::string(info.test_suite_name()) + "." + info.name();
        std::wstring path =
            quillet::e2e::Env().shotsFolder + std::wstring(name.begin(), name.end()) + L".bmp";
        if (quillet::e2e::Screenshot(path))
            std::printf("screenshot: %ls\n", path.c_str());
    }
};

std::wstring Value(const wchar_t* arg, const wchar_t* name) {
    size_t n = std::wcslen(name);
    return std::wcsncmp(arg, name, n) == 0 ? std::wstring(arg + n) : std::wstring();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring log, done;
    auto& env = quillet::e2e::Env();
    for (int i = 1; i < argc; ++i) {
        if (auto v = Value(argv[i], L"--quillet="); !v.empty())
            env.quilletExe = v;
        else if (auto v2 = Value(argv[i], L"--install="); !v2.empty())
            env.installExe = v2;
        else if (auto v3 = Value(argv[i], L"--shots="); !v3.empty())
            env.shotsFolder = v3;
        else if (auto v4 = Value(argv[i], L"--log="); !v4.empty())
            log = v4;
        else if (auto v5 = Value(argv[i], L"--done="); !v5.empty())
            done = v5;
    }
    if (!env.shotsFolder.empty() && env.shotsFolder.back() != L'\\')
        env.shotsFolder += L'\\';
    if (!log.empty()) {
        _wfreopen(log.c_str(), L"w", stdout);
        _wfreopen(log.c_str(), L"a", stderr);
        setvbuf(stdout, nullptr, _IONBF, 0);
    }
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
    int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    if (!done.empty()) {
        if (FILE* f = _wfopen(done.c_str(), L"w")) {
            std::fprintf(f, "%d\n", result);
            std::fclose(f);
        }
    }
    return result;
}
