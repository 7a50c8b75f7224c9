#pragma once
// The search commands: Find from the dialog, Find Next (F3) and Replace All, and the history of
// texts the dialog offers.

#include "editor/document/editor.h"

#include <cstdint>
#include <string_view>

namespace quillet {

inline constexpr char16_t kTextNotFound[] = u"Текст не найден.";
inline constexpr char16_t kReplacementCount[] = u"Количество замен: ";

// Appends text unless an equal entry (exact, case-sensitive) is already listed.
void AddToFindHistory(Editor& editor, std::u16string_view text);

// Searches pattern from the top of the document and selects the first match. Returns true when
// found (the dialog then closes); on a miss it tells the user and the next F3 starts at the top.
bool FindFirst(Editor& editor, std::u16string_view pattern);

// Continues the last dialog search just after the previous match; after a miss the next call
// starts at the top again. Opens the dialog when nothing has been searched yet.
void FindNext(Editor& editor);

// Replaces every occurrence from the top, reports the count (0 included) and returns it. A result
// too large to hold changes nothing: the user is told so, and the answer is -1.
int32_t ReplaceAll(Editor& editor, std::u16string_view pattern, std::u16string_view replacement);

// Menu commands of the main window that belong to the search.
void OnFind(Editor& editor);
void OnReplace(Editor& editor);
void OnFindNext(Editor& editor);

} // namespace quillet
