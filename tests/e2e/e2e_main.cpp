// The end-to-end test program. It runs inside a Wine virtual desktop whose launcher returns at
// once, so it writes its results to a log file and marks its end in a second file
// (tools/e2e-run); a screenshot is kept for every failed test.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>

namespace {

class ScreenshotOnFailure : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo& test) override {
        std::string name = std::string(test.test_suite_name()) + "." + test.name();
        std::wstring path =
            quillet::e2e::Env().shotsFolder + std::wstring(name.begin(), name.end()) + L".bmp";
        if (test.result()->Failed() && !quillet::e2e::Env().shotsFolder.empty() &&
            quillet::e2e::Screenshot(path))
            std::printf("screenshot: %ls\n", path.c_str());
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring log, done;
    auto& env = quillet::e2e::Env();
    const std::pair<const wchar_t*, std::wstring*> options[] = {{L"--quillet=", &env.quilletExe},
                                                                {L"--install=", &env.installExe},
                                                                {L"--shots=", &env.shotsFolder},
                                                                {L"--log=", &log},
                                                                {L"--done=", &done}};
    for (int i = 1; i < argc; ++i)
        for (const auto& [name, value] : options)
            if (std::wcsncmp(argv[i], name, std::wcslen(name)) == 0)
                *value = argv[i] + std::wcslen(name);
    if (!env.shotsFolder.empty() && env.shotsFolder.back() != L'\\')
        env.shotsFolder += L'\\';
    if (!log.empty()) {
        _wfreopen(log.c_str(), L"w", stdout);
        _wfreopen(log.c_str(), L"a", stderr);
        setvbuf(stdout, nullptr, _IONBF, 0);
    }
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ScreenshotOnFailure);
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    if (FILE* f = done.empty() ? nullptr : _wfopen(done.c_str(), L"w")) {
        std::fprintf(f, "%d\n", result);
        std::fclose(f);
    }
    return result;
}
