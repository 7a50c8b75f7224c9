#pragma once
// Turns fuzzer bytes into UTF-16 text: the first byte chooses between widening each byte (short
// ASCII-like texts the parsers meet in practice) and pairing bytes into any code unit at all.

#include <cstddef>
#include <cstdint>
#include <string>

inline std::u16string FuzzText(const uint8_t* data, size_t size) {
    std::u16string text;
    if (size == 0)
        return text;
    bool widen = (data[0] & 1) == 0;
    ++data;
    --size;
    if (widen) {
        text.assign(data, data + size);
    } else {
        for (size_t i = 0; i + 1 < size; i += 2)
            text.push_back(char16_t(data[i] | (data[i + 1] << 8)));
    }
    return text;
}
