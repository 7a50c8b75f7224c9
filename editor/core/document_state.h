#pragma once
// The one set of document values the whole editor shares for a run.

#include <cstdint>
#include <string>

namespace quillet {

// EditorState's four meanings.
enum EditorStateValue : int32_t {
    kStateFind = 0,            // the find dialog opens in its find layout
    kStateReplace = 1,         // ... in its replace layout
    kStateLoadFailed = 2,      // the last document load failed
    kStateChangingControl = 3, // the program changes the control: Change must not mark modified
};

// Booleans of the document font are 16-bit values: true is -1, false is 0.
using Bool16 = int16_t;
constexpr Bool16 kTrue = -1;
constexpr Bool16 kFalse = 0;

struct DocumentState {
    std::u16string CurrentFilePath; // full path; empty while untitled
    std::u16string DisplayName;     // one space and the file-name part; empty while untitled
    int32_t Modified = 0;           // compared with 1
    int32_t UndoAllowed = 0;        // compared with 1
    int32_t EditorState = kStateFind;
    std::u16string AppFolder;     // ends in PathSeparator
    std::u16string PathSeparator; // "\\" or "/"
    std::u16string DialogFolder;  // ends in PathSeparator, or empty
    int32_t NormalWidth = 0;      // twips, outer size last seen in the normal state
    int32_t NormalHeight = 0;
    std::u16string FontName;
    int32_t FontSize = 0; // points
    Bool16 FontBold = kFalse;
    Bool16 FontItalic = kFalse;
};

inline constexpr char16_t kAppTitle[] = u"Квиллет";

// While it lives, the program itself is changing the control, so its Change notifications do
// not mark the document modified; it ends that state however the change ends.
class ProgramChangingControl {
public:
    explicit ProgramChangingControl(DocumentState& doc) : doc_(doc) {
        doc_.EditorState = kStateChangingControl;
    }
    ~ProgramChangingControl() { doc_.EditorState = kStateFind; }
    ProgramChangingControl(const ProgramChangingControl&) = delete;
    ProgramChangingControl& operator=(const ProgramChangingControl&) = delete;

private:
    DocumentState& doc_;
};

} // namespace quillet
