#include "editor/app/startup.h"

#include "editor/app/settings.h"
#include "editor/document/document.h"
#include "editor/edit/format_menu.h"
#include "editor/edit/keyboard_layout.h"
#include "editor/files/load_document.h"

#include <algorithm>

namespace quillet {

void RunStartup(Editor& editor, std::u16string_view programFolder, std::u16string_view commandLine) {
    DocumentState& doc = editor.doc;
    MainWindow& window = editor.Window();

    doc.programFolder = programFolder;
    doc.pathSeparator = doc.programFolder.find(u'\\') != std::u16string::npos ? u"\\" : u"/";
    if (doc.programFolder.empty() || doc.programFolder.back() != doc.pathSeparator.front())
        doc.programFolder += doc.pathSeparator;

    editor.search.history.clear();

    ReadFontSettings(editor);

    int32_t storedLayout = ReadSettingNumber(editor, kKeyboardLayoutSetting);
    int32_t activeLayout = CurrentLayoutCode(editor);
    if (storedLayout == activeLayout)
        ShowLayoutCaption(editor, activeLayout);
    else
        SwitchLayout(editor);

    // The window is not shown yet, so a load failure is reported before it appears.
    std::u16string path = DocumentPathFromCommandLine(commandLine);
    if (path.empty() || !LoadDocument(editor, path))
        doc.dialogFolder = doc.programFolder; // already ends in the separator

    window.Show();

    doc.wordWrap = ReadSettingBool(editor, kWordWrapSetting);
    ApplyWordWrap(editor);

    // A stored size larger than the screen's work area is shrunk to it, so the window never
    // opens partly off-screen.
    int32_t width = ReadSettingNumber(editor, kWidthSetting);
    if (width > 0)
        window.SetOuterWidth(std::min(width, window.WorkAreaWidth()));
    int32_t height = ReadSettingNumber(editor, kHeightSetting);
    if (height > 0)
        window.SetOuterHeight(std::min(height, window.WorkAreaHeight()));

    if (ReadSettingNumber(editor, kWindowStateSetting) == static_cast<int16_t>(WindowState::Maximized))
        window.Maximize();

    ApplyDocumentFont(editor);
}

} // namespace quillet
