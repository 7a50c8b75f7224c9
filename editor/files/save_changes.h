#pragma once
// The question asked before the document in the window is thrown away, and New.

#include "editor/document/editor.h"

#include <cstdint>
#include <string>

namespace quillet {

enum class SaveChangesAnswer {
    GoOn, // No, or Yes and the document was saved
    Stop, // Cancel, or Yes but the document was not saved, so nothing is lost
};

// Asks whether to save the changes.
SaveChangesAnswer AskSaveChanges(Editor& editor);

std::u16string SaveChangesQuestion(const DocumentState& doc);

// An untitled, empty, unmodified document, after the question when there are changes.
void NewDocument(Editor& editor);

void OnNew(Editor& editor);

} // namespace quillet
