#include "editor/win32/message_boxes_win32.h"

#include "editor/win32/wide.h"

#include <string>

namespace quillet::win32 {

UINT MessageBoxFlags(const MessageStyle& style) {
    UINT flags = 0;
    switch (style.icon) {
    case MessageIcon::Error: flags |= MB_ICONERROR; break;
    case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MessageIcon::Warning: flags |= MB_ICONWARNING; break;
    }
    int defaultIndex = 0;
    switch (style.buttons) {
    case MessageButtons::Ok: flags |= MB_OK; break;
    case MessageButtons::YesNo:
        flags |= MB_YESNO;
        defaultIndex = style.defaultAnswer == MessageAnswer::No ? 1 : 0;
        break;
    case MessageButtons::YesNoCancel:
        flags |= MB_YESNOCANCEL;
        defaultIndex = style.defaultAnswer == MessageAnswer::No       ? 1
                       : style.defaultAnswer == MessageAnswer::Cancel ? 2
                                                                      : 0;
        break;
    }
    static constexpr UINT kDefault[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
    return flags | kDefault[defaultIndex];
}

MessageAnswer MessageBoxesWin32::Show(std::u16string_view text, std::u16string_view title,
                                      MessageStyle style) {
    // Before the main window is shown (a start-up load failure) the box stands alone.
    HWND owner = owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
    // Over a modal dialog of ours (the find dialog), the box belongs to the dialog, so the
    // keyboard goes back to it when the box closes.
    HWND active = GetActiveWindow();
    if (owner && active && active != owner && IsWindowEnabled(active) && GetWindow(active, GW_OWNER) == owner)
        owner = active;
    UINT flags = MessageBoxFlags(style) | (owner ? MB_APPLMODAL : MB_TASKMODAL | MB_SETFOREGROUND);
    std::wstring wideText = ToWide(text);
    std::wstring wideTitle = ToWide(title);
    switch (MessageBoxW(owner, wideText.c_str(), wideTitle.c_str(), flags)) {
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    case IDCANCEL: return MessageAnswer::Cancel;
    case IDOK: return MessageAnswer::Ok;
    default:
        // The box could not be shown: nothing was chosen, so nothing goes ahead.
        return style.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}

} // namespace quillet::win32
