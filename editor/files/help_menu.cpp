#include "editor/files/help_menu.h"

#include "editor/files/redirect_page.h"

namespace quillet {

void OnHelp(Editor& editor) {
    OpenViaRedirectPage(editor, editor.doc.programFolder + kHelpFileName);
}

void OnAbout(Editor& editor) {
    editor.ports.about.ShowModal();
}

void OnMyPrograms(Editor& editor) {
    OpenViaRedirectPage(editor, kMakerSiteUrl);
}

void OnAboutLink(Editor& editor, AboutWindow& about) {
    about.SetPointer(Pointer::Busy);
    OpenViaRedirectPage(editor, kMakerSiteUrl);
    about.SetPointer(Pointer::Normal);
}

void OnAboutOk(AboutWindow& about) {
    about.Close();
}

} // namespace quillet
