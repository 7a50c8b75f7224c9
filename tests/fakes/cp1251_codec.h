#pragma once
// Windows-1251, the ANSI code page of the Russian systems the editor is made for. Byte 0x98 has
// no letter and maps to U+0098, as the system's conversion does, so every byte survives a round
// trip.

#include "editor/platform/ansi_codec.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quillet::fakes {

inline constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

class Cp1251Codec : public AnsiCodec {
public:
    void Decode(std::string_view bytes, std::u16string& out) const override {
        for (char c : bytes) {
            auto b = static_cast<uint8_t>(c);
            out.push_back(b < 0x80 ? char16_t(b) : kCp1251High[b - 0x80]);
        }
    }
    std::u16string Decode(std::string_view bytes) const {
        std::u16string text;
        Decode(bytes, text);
        return text;
    }

    bool Encode(std::u16string_view text, std::string& out) const override {
        bool exact = true;
        out.reserve(out.size() + text.size());
        for (char16_t c : text) {
            int byte = ToByte(c);
            if (byte < 0) {
                exact = false;
                byte = '?';
            }
            out.push_back(static_cast<char>(byte));
        }
        return exact;
    }

    static int ToByte(char16_t c) {
        if (c < 0x80)
            return c;
        // The reverse of the table, built once: large documents encode in one pass.
        static const std::vector<int16_t> reverse = [] {
            std::vector<int16_t> r(0x10000, -1);
            for (size_t i = 0; i < kCp1251High.size(); ++i)
                r[kCp1251High[i]] = int16_t(0x80 + i);
            return r;
        }();
        return reverse[c];
    }
};

} // namespace quillet::fakes
