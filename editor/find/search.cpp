#include "editor/find/search.h"

#include "editor/core/edit_guard.h"

#include <algorithm>
#include <string>

namespace quillet {
namespace {

// Read at the start of each operation, so a change of the check box counts from the next one.
int32_t SearchOption(const Editor& editor) {
    return editor.search.FindMatchCase == 1 ? kFindMatchCase : kFindIgnoreCase;
}

void Inform(Editor& editor, std::u16string_view text) {
    editor.ports.messages->Show(text, kAppTitle,
                                {MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok});
}

std::u16string ReplacementCountText(int32_t count) {
    const std::string digits = std::to_string(count);
    return kReplacementCount + std::u16string(digits.begin(), digits.end());
}

void ShowFindDialog(Editor& editor, int32_t layout) {
    editor.doc.EditorState = layout;
    if (editor.ports.findDialog)
        editor.ports.findDialog->ShowModal();
}

} // namespace

void AddToFindHistory(Editor& editor, std::u16string_view text) {
    auto& history = editor.search.FindHistory;
    if (std::find(history.begin(), history.end(), text) == history.end())
        history.emplace_back(text);
}

bool FindFirst(Editor& editor, std::u16string_view pattern) {
    // The dialog's button is disabled for an empty field; an empty pattern would "match" anywhere.
    if (pattern.empty())
        return false;
    const int32_t option = SearchOption(editor);
    editor.search.FindPattern = pattern;
    AddToFindHistory(editor, pattern);
    const int32_t found = editor.Rich().Find(editor.search.FindPattern, 0, option);
    if (found == -1) {
        Inform(editor, kTextNotFound);
        editor.search.FindNextStart = 0;
        return false;
    }
    editor.search.FindNextStart = found + static_cast<int32_t>(editor.search.FindPattern.size());
    return true;
}

void FindNext(Editor& editor) {
    SearchState& search = editor.search;
    if (search.FindPattern.empty()) {
        ShowFindDialog(editor, kStateFind);
        return;
    }
    const int32_t option = SearchOption(editor);
    TextControl& rich = editor.Rich();
    // The text may have shrunk since the last match (edits, another document opened): a start
    // beyond its end would search outside the text, so search from the top instead.
    int32_t start = search.FindNextStart;
    if (start < 0 || start > rich.TextLength())
        start = 0;
    const int32_t found = rich.Find(search.FindPattern, start, option);
    if (found == -1) {
        Inform(editor, kTextNotFound);
        search.FindNextStart = 0;
        return;
    }
    search.FindNextStart = found + rich.SelLength();
}

int32_t ReplaceAll(Editor& editor, std::u16string_view pattern, std::u16string_view replacement) {
    AddToFindHistory(editor, pattern);
    AddToFindHistory(editor, replacement);
    const int32_t option = SearchOption(editor);
    // One pass over the text, one edit: the control keeps the results of replacing match by match.
    // A result that cannot be held changes nothing and is reported instead of a count.
    int32_t count = 0;
    if (!pattern.empty() &&
        !RunGuarded(editor, [&] { count = editor.Rich().ReplaceAll(pattern, replacement, option); }))
        count = -1;
    else
        Inform(editor, ReplacementCountText(count));
    editor.Rich().SetFocus(); // a failure leaves the focus where it is; nothing to tell
    return count;
}

void frmForma_mEditFind_Click(Editor& editor) {
    ShowFindDialog(editor, kStateFind);
}

void frmForma_mEditZamenit_Click(Editor& editor) {
    ShowFindDialog(editor, kStateReplace);
}

void frmForma_mEditFindNext_Click(Editor& editor) {
    FindNext(editor);
}

} // namespace quillet
