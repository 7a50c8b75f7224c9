#pragma once
// Everything the find/replace dialog decides: its two layouts, what its lists and fields
// hold, when its buttons are enabled and what each of its events does. The Win32 dialog only
// shows this model and passes its events in. A model lives for one opening of the dialog.

#include "editor/document/editor.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum class FindControl {
    FindLabel,
    FindField,
    ReplaceLabel,
    ReplaceField,
    MatchCase,
    FindButton,
    CancelButton,
    ReplaceAllButton
};

enum class FindControlKind { Label, ComboBox, CheckBox, Button, DefaultButton };

// One control as designed; positions in twips within the client area.
struct FindControlSpec {
    FindControl id;
    FindControlKind kind;
    std::u16string_view caption;
    int32_t left, top, width, height;
    int32_t tabIndex; // focus order; labels never take the focus
};

inline constexpr FindControlSpec kFindControls[] = {
    {FindControl::FindLabel, FindControlKind::Label, u"Образец:", 75, 150, 840, 240, 5},
    {FindControl::FindField, FindControlKind::ComboBox, u"", 1320, 75, 3015, 315, 0},
    {FindControl::ReplaceLabel, FindControlKind::Label, u"Заменить на:", 75, 525, 1215, 195, 6},
    {FindControl::ReplaceField, FindControlKind::ComboBox, u"", 1320, 450, 3015, 315, 1},
    {FindControl::MatchCase, FindControlKind::CheckBox, u"С учётом регистра", 120, 840, 4125, 240, 7},
    {FindControl::FindButton, FindControlKind::DefaultButton, u"На&йти", 4440, 75, 1470, 375, 2},
    {FindControl::CancelButton, FindControlKind::Button, u"Отмена", 4440, 510, 1470, 375, 3},
    {FindControl::ReplaceAllButton, FindControlKind::Button, u"Заменить &всё", 4440, 945, 1470, 375, 4},
};

inline constexpr int32_t kFindClientWidth = 6030; // twips, both layouts
inline constexpr int32_t kFindClientHeight = 1500;
inline constexpr int32_t kReplaceOuterHeight = 2350; // the replace layout's whole window
inline constexpr char16_t kFindCaption[] = u"Найти";
inline constexpr char16_t kReplaceCaption[] = u"Заменить";

struct FindDialogFont {
    std::u16string_view name = u"MS Sans Serif";
    int32_t hundredthsOfPoint = 825;
    bool bold = true;
    int32_t charset = 204; // Cyrillic
};
inline constexpr FindDialogFont kFindDialogFont{};

inline constexpr int32_t kEscapeKey = 27;

class FindDialogModel {
public:
    // The selection and the history in the lists.
    FindDialogModel(Editor& editor, FindLayout layout);

    bool ReplaceLayout() const { return replaceLayout_; }
    const std::u16string& Caption() const { return caption_; }
    // The outer height to give the window before it is shown, in twips; 0 keeps the designed size.
    int32_t OuterHeight() const { return replaceLayout_ ? kReplaceOuterHeight : 0; }
    bool Visible(FindControl control) const;
    bool Enabled(FindControl control) const;

    const std::vector<std::u16string>& FindList() const { return findList_; }
    const std::vector<std::u16string>& ReplaceList() const { return replaceList_; }
    const std::u16string& FindText() const { return findText_; }
    const std::u16string& ReplaceText() const { return replaceText_; }
    bool MatchCase() const { return editor_.search.matchCase; }
    bool Closed() const { return closed_; }

    // Events of the dialog. Each may close it; the view checks Closed() afterwards.
    void OnFindTextChanged(std::u16string_view text);
    void OnFindEntryPicked(int32_t listIndex); // an entry picked from the list
    void OnReplaceTextChanged(std::u16string_view text);
    void OnReplaceEntryPicked(int32_t listIndex);
    // Escape closes the dialog when it is both pressed and released in one of the two fields: the
    // release of an Escape that closed a message box over the dialog must not close it too. The
    // view reports a press only while a field has the focus.
    void OnFieldKeyDown(int32_t keyCode);
    void OnFindFieldKeyUp(int32_t keyCode);
    void OnReplaceFieldKeyUp(int32_t keyCode);
    void OnMatchCase(bool ticked);
    void OnFindButton();
    void OnReplaceAllButton();
    void OnCancelButton();
    void CloseBox();
    // Enter: presses the button with the focus, else the default button FindButton if enabled.
    void EnterPressed(FindControl focus);

private:
    void ApplyEnablingRule();

    Editor& editor_;
    bool replaceLayout_ = false;
    std::u16string caption_;
    std::vector<std::u16string> findList_;
    std::vector<std::u16string> replaceList_;
    std::u16string findText_;
    std::u16string replaceText_;
    bool buttonsEnabled_ = false;
    bool closed_ = false;
    bool escapeDownInField_ = false;
};

} // namespace quillet
