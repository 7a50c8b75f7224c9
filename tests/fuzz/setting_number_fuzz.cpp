// Any stored text reads as some 32-bit number without a fault, and whatever the editor writes
// reads back as itself.

#include "editor/app/setting_number.h"
#include "fuzz_input.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text = FuzzText(data, size);
    int32_t value = quillet::ParseSettingNumber(text);
    if (quillet::ParseSettingNumber(quillet::ToDecimalText(value)) != value)
        std::abort();
    // A number is read only from the start: anything after the digits of a whole number that
    // cannot continue it changes nothing.
    std::u16string written = quillet::ToDecimalText(value) + u"x" + text;
    if (quillet::ParseSettingNumber(written) != value)
        std::abort();
    return 0;
}
