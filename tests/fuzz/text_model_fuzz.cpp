// Any sequence of edits, selections, searches and undos leaves the document model agreeing with
// a plain string (PlayOperations says what is checked).

#include "tests/unit/model_reference.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        quillet::testing::PlayOperations(data, size);
    } catch (const std::logic_error&) {
        std::abort();
    }
    return 0;
}
