// The Win32 text view against the text control contract.

#include "tests/contract/text_control_contract.h"

#include "editor/win32/clipboard_win32.h"
#include "editor/win32/text_view.h"
#include "tests/win32/win32_test_support.h"

namespace quillet::contract {
namespace {

class ViewTraits {
public:
    ViewTraits() { view_.Create(host_.Handle(), 1001, GetModuleHandleW(nullptr)); }

    TextContent& Control() { return view_; }

private:
    testing_win32::HostWindow host_;
    win32::ClipboardWin32 clipboard_{host_.Handle()};
    win32::TextView view_{clipboard_};
};

using Views = ::testing::Types<ViewTraits>;
INSTANTIATE_TYPED_TEST_SUITE_P(Win32View, TextControlContract, Views);

} // namespace
} // namespace quillet::contract
