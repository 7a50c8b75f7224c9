// The Win32 text view against the text control contract, with real files and the system's
// code page conversion.

#include "tests/contract/text_control_contract.h"

#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/file_system_win32.h"
#include "editor/win32/text_view.h"
#include "tests/win32/win32_test_support.h"

namespace quillet::contract {
namespace {

class ViewTraits {
public:
    ViewTraits() { view_.Create(host_.Handle(), 1001, GetModuleHandleW(nullptr)); }

    TextControl& Control() { return view_; }

    std::u16string TempPath(std::u16string_view name) { return dir_.Path16() + std::u16string(name); }

    void CreateReadOnlyFile(std::u16string_view path, std::string_view bytes) {
        std::wstring p(path.begin(), path.end());
        testing_win32::TempDir::Write(p, std::string(bytes));
        SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_READONLY);
    }

    std::string ReadFile(std::u16string_view path) {
        return testing_win32::TempDir::Read(std::wstring(path.begin(), path.end()));
    }

private:
    testing_win32::TempDir dir_;
    testing_win32::HostWindow host_;
    win32::FileSystemWin32 files_;
    win32::AnsiCodecWin32 codec_;
    win32::TextView view_{files_, codec_};
};

using Views = ::testing::Types<ViewTraits>;
INSTANTIATE_TYPED_TEST_SUITE_P(Win32View, TextControlContract, Views);

} // namespace
} // namespace quillet::contract
