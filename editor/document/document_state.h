#pragma once
// The one set of document values the whole editor shares for a run.

#include "editor/control/text_control.h"

#include <cstdint>
#include <string>

namespace quillet {

inline constexpr char16_t kAppTitle[] = u"Квиллет";

struct DocumentState {
    std::u16string path;        // full path; empty while untitled
    std::u16string displayName; // one space and the file-name part; empty while untitled
    bool modified = false;
    bool undoAllowed = false;     // the Edit menu offers Undo
    bool changingControl = false; // the program, not the user, is writing to the text control
    std::u16string programFolder; // ends in pathSeparator
    std::u16string pathSeparator; // "\\" or "/"
    std::u16string dialogFolder;  // ends in pathSeparator, or empty
    int32_t normalWidth = 0;      // twips, outer size last seen in the normal state
    int32_t normalHeight = 0;
    FontSpec font; // the document font, as chosen and stored
    bool wordWrap = false;
};

// While it lives, the program itself is changing the control, so its change notifications do
// not mark the document modified; it ends that state however the change ends.
class ProgramChangingControl {
public:
    explicit ProgramChangingControl(DocumentState& doc) : doc_(doc), before_(doc.changingControl) {
        doc_.changingControl = true;
    }
    ~ProgramChangingControl() { doc_.changingControl = before_; }
    ProgramChangingControl(const ProgramChangingControl&) = delete;
    ProgramChangingControl& operator=(const ProgramChangingControl&) = delete;

private:
    DocumentState& doc_;
    bool before_;
};

} // namespace quillet
