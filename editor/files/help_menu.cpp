#include "editor/files/help_menu.h"

#include "editor/files/save_file_urlm.h"

namespace quillet {

void frmForma_HelpCallHelp_Click(Editor& ed) {
    OpenViaRedirectPage(ed, ed.doc.AppFolder + kHelpFileName);
}

void frmForma_HelpOprog_Click(Editor& ed) {
    if (ed.ports.about)
        ed.ports.about->ShowModal();
}

void frmForma_HelpMySoft_Click(Editor& ed) {
    OpenViaRedirectPage(ed, kMakerSiteUrl);
}

void frmOprog_Label1_Click(Editor& ed, AboutWindow& about) {
    about.SetPointer(Pointer::Busy);
    OpenViaRedirectPage(ed, kMakerSiteUrl);
    about.SetPointer(Pointer::Normal);
}

void frmOprog_OK_Click(AboutWindow& about) {
    about.Close();
}

} // namespace quillet
