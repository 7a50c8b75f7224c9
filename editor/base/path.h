#pragma once
// Cutting a path into its folder and name, the same way for the core's UTF-16 and the platform's
// wide strings.

#include <string>
#include <string_view>

namespace quillet {

template <class Char> struct PathParts {
    std::basic_string_view<Char> folder; // up to and including the last separator; empty if none
    std::basic_string_view<Char> name;   // the rest
};

// Splits after the last character of path that is one of separators.
template <class Char>
PathParts<Char> SplitPath(std::basic_string_view<Char> path, std::basic_string_view<Char> separators) {
    size_t last = separators.empty() ? path.npos : path.find_last_of(separators);
    size_t nameStart = last == path.npos ? 0 : last + 1;
    return {path.substr(0, nameStart), path.substr(nameStart)};
}

// The folder holding path, without its trailing separator unless that would leave a bare drive
// ("C:" alone means the drive's current folder, not its root) or nothing of a root; empty for a
// bare name.
template <class Char>
std::basic_string<Char> FolderWithoutSeparator(std::basic_string_view<Char> path,
                                               std::basic_string_view<Char> separators) {
    std::basic_string<Char> folder(SplitPath(path, separators).folder);
    if (folder.size() > 1 && !(folder.size() == 3 && folder[1] == Char(':')))
        folder.pop_back();
    return folder;
}

} // namespace quillet
