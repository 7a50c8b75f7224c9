#pragma once
// The document named on the program's command line.

#include <string>
#include <string_view>

namespace quillet {

// The document path in the command-line text: one leading and then one trailing double quote
// dropped, the rest taken whole (spaces and inner quotes included).
std::u16string DocumentPathFromCommandLine(std::u16string_view commandLine);

} // namespace quillet
