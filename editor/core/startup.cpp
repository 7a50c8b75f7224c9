#include "editor/core/startup.h"

#include "editor/core/frm_forma.h"
#include "editor/core/load_document.h"
#include "editor/core/raskladka.h"
#include "editor/core/settings.h"

#include <algorithm>

namespace quillet {

void RunStartup(Editor& ed, std::u16string_view programFolder, std::u16string_view commandLine) {
    DocumentState& doc = ed.doc;
    MainWindow& window = ed.Window();

    doc.AppFolder = programFolder;
    doc.PathSeparator = doc.AppFolder.find(u'\\') != std::u16string::npos ? u"\\" : u"/";
    if (doc.AppFolder.empty() || doc.AppFolder.back() != doc.PathSeparator.front())
        doc.AppFolder += doc.PathSeparator;

    ed.search.FindHistory.clear();

    ReadFontSettings(ed);

    int32_t storedLayout = ReadSettingNumber(ed, u"Klava");
    int32_t activeLayout = CurrentLayoutCode(ed);
    if (storedLayout == activeLayout)
        ShowLayoutCaption(ed, activeLayout);
    else
        SwitchLayout(ed);

    // The window is not shown yet, so a load failure is reported before it appears.
    std::u16string path = DocumentPathFromCommandLine(commandLine);
    if (!path.empty())
        LoadDocument(ed, path);
    if (path.empty() || doc.EditorState == kStateLoadFailed)
        doc.DialogFolder = doc.AppFolder; // already ends in the separator

    window.Show();

    if (ReadSettingText(ed, u"PerenosSlov").empty())
        frmForma_mFormatPerenosSlov_Click(ed);

    // A stored size larger than the screen's work area is shrunk to it, so the window never
    // opens partly off-screen.
    int32_t width = ReadSettingNumber(ed, u"Width");
    if (width > 0)
        window.SetOuterWidth(std::min(width, window.WorkAreaWidth()));
    int32_t height = ReadSettingNumber(ed, u"Height");
    if (height > 0)
        window.SetOuterHeight(std::min(height, window.WorkAreaHeight()));

    if (ReadSettingNumber(ed, u"WindowState") == static_cast<int16_t>(WindowState::Maximized))
        window.Maximize();

    ProgramChangingControl changing(doc);
    TextControl& rich = ed.Rich();
    rich.SetFontName(doc.FontName);
    rich.SetFontSize(doc.FontSize);
    rich.SetFontBold(doc.FontBold != kTrue);
    rich.SetFontBold(doc.FontBold == kTrue);
    rich.SetFontItalic(doc.FontItalic == kTrue);
}

} // namespace quillet
