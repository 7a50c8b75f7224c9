#include "editor/app/command_line.h"

namespace quillet {

std::u16string DocumentPathFromCommandLine(std::u16string_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == u'"')
        commandLine.remove_prefix(1);
    if (!commandLine.empty() && commandLine.back() == u'"')
        commandLine.remove_suffix(1);
    return std::u16string(commandLine);
}

} // namespace quillet
