// The view's key hook when the handler lets waiting messages through, as a message box shown from
// a key (out of memory during Ctrl+V) does: the character the key produced must not reach the
// view a second way.

#include "editor/win32/clipboard_win32.h"
#include "editor/win32/text_view.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet::win32 {
namespace {

// Inserts its own text for one key, pumping on the way.
class PumpingPaste : public TextControlEvents {
public:
    explicit PumpingPaste(TextView& view) : view_(view) {}
    void OnChange() override {}
    bool OnKeyDown(int32_t keyCode, int32_t) override {
        bool handled = keyCode == key;
        if (handled) {
            testing_win32::HostWindow::Pump();
            view_.SetSelText(u"[mine]");
        }
        return handled && swallow;
    }
    void OnMouseDown(int16_t, int16_t, int32_t, int32_t) override {}

    int32_t key = 'V';
    bool swallow = true;

private:
    TextView& view_;
};

class PumpingHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Handle(), 1001, GetModuleHandleW(nullptr)));
        view.SetEvents(&handler);
        ClipboardWin32 clipboard(host.Handle());
        ASSERT_TRUE(clipboard.SetText(u"[clipboard]"));
        view.SetText(u"");
    }
    void TearDown() override { view.SetEvents(nullptr); }

    // As the message loop delivers a key: TranslateMessage has already queued its character
    // when the key-down is dispatched.
    void Press(WPARAM vk, wchar_t ch) {
        PostMessageW(view.Handle(), WM_CHAR, ch, 1);
        SendMessageW(view.Handle(), WM_KEYDOWN, vk, 1);
        testing_win32::HostWindow::Pump();
    }

    testing_win32::HostWindow host;
    ClipboardWin32 clipboard{host.Handle()};
    TextView view{clipboard};
    PumpingPaste handler{view};
};

TEST_F(PumpingHandlerTest, ASwallowedKeysCharacterThatArrivesDuringThePumpIsDropped) {
    Press('V', 0x16); // Ctrl+V's character would paste by itself
    EXPECT_EQ(view.Text(), u"[mine]");
    Press('B', L'b'); // the next key types as usual
    EXPECT_EQ(view.Text(), u"[mine]b");
}

TEST_F(PumpingHandlerTest, AKeyLeftToTheViewStillTypesItsCharacterOnceAfterTheHandler) {
    handler.key = 'A';
    handler.swallow = false;
    Press('A', L'a');
    EXPECT_EQ(view.Text(), u"[mine]a");
}

} // namespace
} // namespace quillet::win32
