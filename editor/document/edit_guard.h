#pragma once
// What happens when an operation on the document cannot be done: out of memory, or a text
// longer than positions can count. Every operation of the document model leaves the document
// exactly as it was when it throws, so the user is told once that nothing changed, and the
// editor carries on.

#include "editor/document/editor.h"

#include <new>
#include <stdexcept>

namespace quillet {

inline constexpr char16_t kEditRefused[] = u"Недостаточно памяти: текст не изменён.";
// For any other failure that reaches the message loop: nothing is known of what it did.
inline constexpr char16_t kCommandFailed[] = u"Команда не выполнена из-за внутренней ошибки.";

void ReportEditRefused(Editor& editor);
void ReportCommandFailed(Editor& editor);

// Runs action; false, after telling the user, when it ran out of memory or room.
template <class Action> bool RunGuarded(Editor& editor, Action&& action) {
    try {
        action();
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    ReportEditRefused(editor);
    return false;
}

} // namespace quillet
