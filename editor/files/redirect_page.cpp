#include "editor/files/redirect_page.h"

#include "editor/files/shell_open.h"

#include <string>

namespace quillet {
namespace {

constexpr char16_t kPageHead[] = u"<html><head><meta http-equiv='refresh' content='0; url=";
constexpr char16_t kPageTail[] = u"'><meta http-equiv='Content-Type' content='text/html; "
                                 u"charset=windows-1251'><title>WWW</title></head><body></body></html>";

class StringSource : public ByteSource {
public:
    explicit StringSource(const std::string& bytes) : bytes_(bytes) {}
    std::string_view Next() override {
        if (done_)
            return {};
        done_ = true;
        return bytes_;
    }

private:
    const std::string& bytes_;
    bool done_ = false;
};

void AppendReference(std::u16string& out, char32_t codePoint) {
    out += u"&#";
    for (char c : std::to_string(static_cast<uint32_t>(codePoint)))
        out.push_back(char16_t(c));
    out.push_back(u';');
}

bool CodePageHolds(const AnsiCodec& codec, char16_t c) {
    std::string scratch;
    return codec.Encode(std::u16string_view(&c, 1), scratch);
}

// A path on a drive ("C:\...") or a share ("\\server\..."), which the browser takes as a file
// address, rather than a web address.
bool IsLocalPath(std::u16string_view target) {
    bool drive = target.size() >= 3 &&
                 ((target[0] >= u'A' && target[0] <= u'Z') || (target[0] >= u'a' && target[0] <= u'z')) &&
                 target[1] == u':' && (target[2] == u'\\' || target[2] == u'/');
    return drive || target.starts_with(u"\\\\");
}

} // namespace

std::u16string RedirectPageLine(std::u16string_view target, const AnsiCodec& codec) {
    std::u16string line(kPageHead);
    bool localPath = IsLocalPath(target);
    for (size_t i = 0; i < target.size(); ++i) {
        char16_t c = target[i];
        // In a file address "#" would start a fragment and "%" an escape: a folder named "C#"
        // or "100%" would lead the browser elsewhere.
        if (localPath && (c == u'#' || c == u'%')) {
            line += c == u'#' ? u"%23" : u"%25";
            continue;
        }
        switch (c) {
        case u'&': line += u"&amp;"; continue;
        case u'<': line += u"&lt;"; continue;
        case u'>': line += u"&gt;"; continue;
        case u'\'': line += u"&#39;"; continue;
        case u'"': line += u"&quot;"; continue;
        default: break;
        }
        bool highSurrogate = c >= 0xD800 && c <= 0xDBFF;
        if (highSurrogate && i + 1 < target.size() && target[i + 1] >= 0xDC00 && target[i + 1] <= 0xDFFF) {
            AppendReference(line, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (target[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            AppendReference(line, 0xFFFD); // half a pair names no character
        } else if (c < 0x20 || c == 0x7F || !CodePageHolds(codec, c)) {
            // A line break would split the one-line page; a lost letter would change the target.
            AppendReference(line, c);
        } else {
            line.push_back(c);
        }
    }
    line += kPageTail;
    return line;
}

std::u16string RedirectPagePath(const DocumentState& doc, int n) {
    std::u16string path = doc.programFolder;
    for (char c : std::to_string(n))
        path.push_back(char16_t(c));
    path += u".html";
    return path;
}

void OpenViaRedirectPage(Editor& editor, std::u16string_view target) {
    std::string bytes;
    editor.ports.codec.Encode(RedirectPageLine(target, editor.ports.codec), bytes);
    bytes += "\r\n";

    // 0.html normally; a later number only while the earlier pages are read-only or locked.
    std::u16string page;
    for (int n = 0; n < kRedirectPageTries && page.empty(); ++n) {
        StringSource source(bytes);
        std::u16string path = RedirectPagePath(editor.doc, n);
        if (editor.ports.files.WriteWhole(path, source) == WriteStatus::Ok)
            page = std::move(path);
    }

    // Lets the menu close and the window repaint before the browser takes the focus.
    editor.Window().PumpMessages();
    OpenWithShell(editor, page.empty() ? target : std::u16string_view(page));
}

} // namespace quillet
