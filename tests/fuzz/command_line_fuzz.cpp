// Any command-line text gives one path: the text itself with at most one leading and one
// trailing double quote removed, and never a fault.

#include "editor/app/command_line.h"
#include "fuzz_input.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string line = FuzzText(data, size);
    std::u16string path = quillet::DocumentPathFromCommandLine(line);
    size_t dropped = line.size() - path.size();
    if (path.size() > line.size() || dropped > 2)
        std::abort();
    size_t front = !line.empty() && line.front() == u'"' ? 1 : 0;
    if (line.compare(front, path.size(), path) != 0)
        std::abort();
    if (!path.empty() && dropped == 0 && (line.front() == u'"' || line.back() == u'"'))
        std::abort();
    return 0;
}
