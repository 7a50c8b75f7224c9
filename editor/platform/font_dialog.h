#pragma once
// The platform's font dialog, shown modally over the main window.

#include "editor/control/text_control.h"

#include <optional>

namespace quillet {

class FontDialog {
public:
    virtual ~FontDialog() = default;
    // Starts from current and answers the user's choice, named as the platform really made that
    // font (a substitute, perhaps; current's name when it could make none); nothing when the user
    // cancelled or the dialog failed.
    virtual std::optional<FontSpec> PickFont(const FontSpec& current) = 0;
};

} // namespace quillet
