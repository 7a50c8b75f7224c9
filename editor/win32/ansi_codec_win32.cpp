#include "editor/win32/ansi_codec_win32.h"

#include "editor/win32/wide.h"

#include <windows.h>

#include <algorithm>

namespace quillet::win32 {

namespace {
// Chunks keep the conversion calls' int sizes safe and let a failed chunk be found cheaply.
constexpr size_t kChunk = 1 << 20;
} // namespace

AnsiCodecWin32::AnsiCodecWin32() {
    CPINFO info{};
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1)
        return;
    char all[256];
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<char>(b);
    wchar_t chars[256] = {};
    if (MultiByteToWideChar(CP_ACP, 0, all, 256, chars, 256) != 256)
        return;
    bytes_.assign(0x10000, -1);
    for (int b = 0; b < 256; ++b)
        if (bytes_[chars[b]] < 0)
            bytes_[chars[b]] = static_cast<int16_t>(b);
}

void AnsiCodecWin32::Decode(std::string_view bytes, std::u16string& text) const {
    // In a single-byte code page every byte is one character; a double-byte one needs at most
    // as many, so this is an upper bound either way. Within the caller's reserve this does not
    // reallocate.
    const size_t start = text.size();
    text.resize(start + bytes.size());
    size_t written = start;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t n = std::min(kChunk, bytes.size() - pos);
        // Don't split a lead byte from its trail byte in a double-byte code page.
        if (pos + n < bytes.size()) {
            size_t back = 0;
            while (back < 8 && back < n && IsDBCSLeadByte(static_cast<BYTE>(bytes[pos + n - 1 - back])))
                ++back;
            if (back % 2 == 1)
                --n;
        }
        int got = MultiByteToWideChar(CP_ACP, 0, bytes.data() + pos, static_cast<int>(n),
                                      Wide(text.data() + written), static_cast<int>(text.size() - written));
        if (got <= 0) {
            // Should not happen for a single-byte code page; keep the bytes' count of characters.
            for (size_t i = 0; i < n; ++i)
                text[written + i] = static_cast<unsigned char>(bytes[pos + i]);
            got = static_cast<int>(n);
        }
        written += static_cast<size_t>(got);
        pos += n;
    }
    text.resize(written);
}

bool AnsiCodecWin32::Encode(std::u16string_view text, std::string& out) const {
    bool exact = true;
    if (!bytes_.empty()) {
        // Saving 50 MB goes through here; the system's conversion is several times slower.
        const char fallback = static_cast<char>(bytes_[u'?'] >= 0 ? bytes_[u'?'] : '?');
        size_t old = out.size();
        out.resize(old + text.size());
        char* to = out.data() + old;
        for (char16_t c : text) {
            int16_t byte = bytes_[c];
            if (byte < 0) {
                exact = false;
                *to++ = fallback;
            } else {
                *to++ = static_cast<char>(byte);
            }
        }
        return exact;
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t n = std::min(kChunk, text.size() - pos);
        // Keep a surrogate pair in one chunk.
        if (pos + n < text.size() && text[pos + n - 1] >= 0xD800 && text[pos + n - 1] <= 0xDBFF)
            --n;
        const wchar_t* src = Wide(text.data() + pos);
        // A UTF-8 system code page holds every character and refuses both the flag and the report.
        const bool utf8 = GetACP() == CP_UTF8;
        const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
        // WC_NO_BEST_FIT_CHARS: a character without an exact byte becomes the default one and
        // is reported, instead of silently turning into a look-alike.
        int need = WideCharToMultiByte(CP_ACP, flags, src, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
        if (need <= 0)
            return false;
        size_t old = out.size();
        out.resize(old + static_cast<size_t>(need));
        BOOL usedDefault = FALSE;
        int got = WideCharToMultiByte(CP_ACP, flags, src, static_cast<int>(n), out.data() + old, need,
                                      nullptr, utf8 ? nullptr : &usedDefault);
        if (got <= 0) {
            out.resize(old);
            return false;
        }
        out.resize(old + static_cast<size_t>(got));
        if (usedDefault)
            exact = false;
        pos += n;
    }
    return exact;
}

} // namespace quillet::win32
