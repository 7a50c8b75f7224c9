#include "editor/find/search.h"

#include "editor/document/edit_guard.h"

#include <algorithm>
#include <string>

namespace quillet {
namespace {

// Read at the start of each operation, so a change of the check box counts from the next one.
FindOption SearchOption(const Editor& editor) {
    return editor.search.matchCase ? FindOption::MatchCase : FindOption::IgnoreCase;
}

void Inform(Editor& editor, std::u16string_view text) {
    editor.ports.messages.Show(text, kAppTitle,
                               {MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok});
}

std::u16string ReplacementCountText(int32_t count) {
    const std::string digits = std::to_string(count);
    return kReplacementCount + std::u16string(digits.begin(), digits.end());
}

void ShowFindDialog(Editor& editor, FindLayout layout) {
    editor.ports.findDialog.ShowModal(layout);
}

} // namespace

void AddToFindHistory(Editor& editor, std::u16string_view text) {
    auto& history = editor.search.history;
    if (std::find(history.begin(), history.end(), text) == history.end())
        history.emplace_back(text);
}

bool FindFirst(Editor& editor, std::u16string_view pattern) {
    // The dialog's button is disabled for an empty field; an empty pattern would "match" anywhere.
    if (pattern.empty())
        return false;
    const FindOption option = SearchOption(editor);
    editor.search.pattern = pattern;
    AddToFindHistory(editor, pattern);
    const int32_t found = editor.Text().Find(editor.search.pattern, 0, option);
    if (found == -1) {
        Inform(editor, kTextNotFound);
        editor.search.nextStart = 0;
        return false;
    }
    editor.search.nextStart = found + static_cast<int32_t>(editor.search.pattern.size());
    return true;
}

void FindNext(Editor& editor) {
    SearchState& search = editor.search;
    if (search.pattern.empty()) {
        ShowFindDialog(editor, FindLayout::Find);
        return;
    }
    const FindOption option = SearchOption(editor);
    TextControl& control = editor.Text();
    // The text may have shrunk since the last match (edits, another document opened): a start
    // beyond its end would search outside the text, so search from the top instead.
    int32_t start = search.nextStart;
    if (start < 0 || start > control.TextLength())
        start = 0;
    const int32_t found = control.Find(search.pattern, start, option);
    if (found == -1) {
        Inform(editor, kTextNotFound);
        search.nextStart = 0;
        return;
    }
    search.nextStart = found + control.SelLength();
}

int32_t ReplaceAll(Editor& editor, std::u16string_view pattern, std::u16string_view replacement) {
    AddToFindHistory(editor, pattern);
    AddToFindHistory(editor, replacement);
    const FindOption option = SearchOption(editor);
    // One pass over the text, one edit: the control keeps the results of replacing match by match.
    // A result that cannot be held changes nothing and is reported instead of a count.
    int32_t count = 0;
    if (!pattern.empty() &&
        !RunGuarded(editor, [&] { count = editor.Text().ReplaceAll(pattern, replacement, option); }))
        count = -1;
    else
        Inform(editor, ReplacementCountText(count));
    editor.Text().SetFocus(); // a failure leaves the focus where it is; nothing to tell
    return count;
}

void OnFind(Editor& editor) {
    ShowFindDialog(editor, FindLayout::Find);
}

void OnReplace(Editor& editor) {
    ShowFindDialog(editor, FindLayout::Replace);
}

void OnFindNext(Editor& editor) {
    FindNext(editor);
}

} // namespace quillet
