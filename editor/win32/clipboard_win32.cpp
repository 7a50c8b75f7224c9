#include "editor/win32/clipboard_win32.h"

#include "editor/win32/wide.h"

#include <cstring>
#include <string>

namespace quillet::win32 {

namespace {

// Another program may hold the clipboard open for a moment; try a few times before giving up.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
            open_ = ::OpenClipboard(owner) != FALSE;
            if (!open_)
                ::Sleep(10);
        }
    }
    ~OpenedClipboard() {
        if (open_)
            ::CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

// Global memory holding the characters and a terminating NUL, ready for the clipboard, which owns
// it once SetClipboardData succeeds; freed here otherwise.
class ClipboardData {
public:
    template <typename Char> ClipboardData(const Char* data, size_t length) {
        memory_ = ::GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(Char));
        auto* target = memory_ ? static_cast<Char*>(::GlobalLock(memory_)) : nullptr;
        if (!target) {
            Free();
            return;
        }
        std::memcpy(target, data, length * sizeof(Char));
        target[length] = 0;
        ::GlobalUnlock(memory_);
    }
    ~ClipboardData() { Free(); }
    ClipboardData(const ClipboardData&) = delete;
    ClipboardData& operator=(const ClipboardData&) = delete;

    explicit operator bool() const { return memory_ != nullptr; }
    bool HandTo(UINT format) {
        if (!::SetClipboardData(format, memory_))
            return false;
        memory_ = nullptr;
        return true;
    }

private:
    void Free() {
        if (memory_)
            ::GlobalFree(memory_);
        memory_ = nullptr;
    }
    HGLOBAL memory_ = nullptr;
};

std::string ToAnsi(std::u16string_view text) {
    if (text.empty())
        return {};
    const wchar_t* wide = Wide(text.data());
    int size =
        ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// The text of a clipboard handle up to its first NUL, never past the memory's end.
template <typename Char> std::basic_string<Char> ReadTerminated(HANDLE handle) {
    const Char* data = static_cast<const Char*>(::GlobalLock(handle));
    if (!data)
        return {};
    size_t limit = ::GlobalSize(handle) / sizeof(Char);
    size_t length = 0;
    while (length < limit && data[length] != 0)
        ++length;
    std::basic_string<Char> text(data, length);
    ::GlobalUnlock(handle);
    return text;
}

} // namespace

bool ClipboardWin32::SetText(std::u16string_view text) {
    // Everything is built before the clipboard is emptied, so a failure keeps what it held.
    // The ANSI copy is for programs that read only 8-bit text; Unicode readers get the exact text.
    ClipboardData unicode(text.data(), text.size());
    std::string ansi = ToAnsi(text);
    ClipboardData narrow(ansi.data(), ansi.size());
    if (!unicode)
        return false;
    OpenedClipboard clipboard{owner_};
    if (!clipboard || !::EmptyClipboard())
        return false;
    if (!unicode.HandTo(CF_UNICODETEXT))
        return false;
    if (narrow)
        narrow.HandTo(CF_TEXT);
    return true;
}

std::optional<std::u16string> ClipboardWin32::Text() {
    OpenedClipboard clipboard{owner_};
    if (!clipboard)
        return std::nullopt;
    // The system offers Unicode text for 8-bit text too, converted by the writer's locale.
    if (HANDLE unicode = ::GetClipboardData(CF_UNICODETEXT)) {
        return FromWide(ReadTerminated<wchar_t>(unicode));
    }
    if (HANDLE ansi = ::GetClipboardData(CF_TEXT)) {
        std::string bytes = ReadTerminated<char>(ansi);
        std::u16string text;
        if (!bytes.empty()) {
            int size =
                ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
            text.resize(static_cast<size_t>(size > 0 ? size : 0));
            if (size > 0)
                ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), Wide(text),
                                      size);
        }
        return text;
    }
    return std::u16string();
}

} // namespace quillet::win32
