#pragma once
// SaveChangeM: the question asked before the document in the window is thrown away, and New.

#include "editor/core/editor.h"

#include <cstdint>
#include <string>

namespace quillet {

// Asks whether to save the changes. 1: the caller stops (Cancel, or Yes but the document was
// not saved, so nothing is lost); 0: the caller goes on (No, or Yes and the document saved).
int32_t AskSaveChanges(Editor& editor);

std::u16string SaveChangesQuestion(const DocumentState& doc);

// An untitled, empty, unmodified document, after the question when there are changes.
void NewDocument(Editor& editor);

void frmForma_mnuNew_Click(Editor& editor);

} // namespace quillet
