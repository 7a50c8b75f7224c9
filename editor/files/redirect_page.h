#pragma once
// Opens a target (the help file or a web address) in the default browser through
// a small redirect page written into the program's folder.

#include "editor/document/editor.h"

#include <string>
#include <string_view>

namespace quillet {

// How many page numbers (0.html, 1.html, ...) are tried before the target is opened directly.
inline constexpr int kRedirectPageTries = 100;

// The page's one line, CR LF not included, with target written so that the browser arrives at
// it exactly: characters that would end the attribute or start markup, and characters the ANSI
// code page cannot hold, become character references; in a local path "#" and "%" are escaped
// as in any file address.
std::u16string RedirectPageLine(std::u16string_view target, const AnsiCodec& codec);

// The program folder + n + ".html".
std::u16string RedirectPagePath(const DocumentState& doc, int n);

// Writes the redirect page for target under the smallest number that can be written, lets
// waiting window messages through once, and has the shell open the page. When no number can be
// written (a folder without write access) the shell opens the target itself.
void OpenViaRedirectPage(Editor& editor, std::u16string_view target);

} // namespace quillet
