// Any sequence of edits, selections, searches and undos leaves the document model consistent:
// the text as a plain string would have it, only CR LF line breaks, a selection that never splits
// one, and a line index that agrees with the text.

#include "editor/control/text_model.h"
#include "tests/unit/model_reference.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Reads the fuzzer's bytes as small numbers and short texts from an alphabet full of the
// characters that matter: line breaks, letters with case, NUL, a surrogate pair.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return position_ >= size_; }
    uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }
    std::u16string Text() {
        static const char16_t alphabet[] = {u'a', u'A',   u'b',   u'\r',  u'\n',  u'Ё', u'ё', u'\0',
                                            u'k', 0x212A, 0xD801, 0xDC00, 0xDC28, u'я', u'Я', u' '};
        std::u16string text;
        for (int n = Byte() % 8; n > 0; --n)
            text.push_back(alphabet[Byte() % std::size(alphabet)]);
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

using quillet::testing::LinesAgree;
using quillet::testing::Normalized;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckConsistent(const quillet::TextModel& model, const std::u16string& text) {
    Check(model.Text() == text);
    Check(model.TextLength() == int32_t(text.size()));
    Check(text == Normalized(text)); // only CR LF breaks
    Check(LinesAgree(model, text));
    for (int32_t edge : {model.Anchor(), model.Caret()}) {
        Check(edge >= 0 && edge <= int32_t(text.size()));
        Check(!(edge > 0 && edge < int32_t(text.size()) && text[edge - 1] == u'\r'));
    }
}

bool HasSurrogates(std::u16string_view text) {
    for (char16_t c : text)
        if (c >= 0xD800 && c <= 0xDFFF)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    quillet::TextModel model;
    std::u16string text;
    Input in(data, size);
    while (!in.Done()) {
        auto position = [&] { return int32_t(in.Byte()) % (int32_t(text.size()) + 3) - 1; };
        switch (in.Byte() % 9) {
        case 0: {
            std::u16string raw = in.Text();
            model.SetText(raw);
            text = Normalized(raw);
            Check(!model.CanUndo());
            break;
        }
        case 1: {
            int32_t anchor = position();
            model.SetSelection(anchor, position());
            break;
        }
        case 2:
        case 3: {
            std::u16string raw = in.Text();
            int32_t start = model.SelStart();
            int32_t length = model.SelLength();
            model.ReplaceSelection(raw,
                                   in.Byte() % 2 ? quillet::EditKind::Typing : quillet::EditKind::Program);
            text.replace(size_t(start), size_t(length), Normalized(raw));
            Check(model.SelStart() == start + int32_t(Normalized(raw).size()) && model.SelLength() == 0);
            break;
        }
        case 4: {
            int32_t a = position();
            int32_t b = position();
            model.ReplaceRange(a, b, in.Text(), quillet::EditKind::Typing);
            text = model.Text(); // the range was widened off any break: checked below
            break;
        }
        case 5:
            model.Undo();
            text = model.Text();
            break;
        case 6: {
            std::u16string pattern = in.Text();
            int32_t start = position();
            bool matchCase = in.Byte() % 2;
            int32_t anchor = model.Anchor();
            int32_t caret = model.Caret();
            int32_t found = model.Find(
                pattern, start, matchCase ? quillet::FindOption::MatchCase : quillet::FindOption::IgnoreCase);
            if (!HasSurrogates(text) && !HasSurrogates(pattern))
                Check(found == quillet::testing::FindNaively(text, pattern, start, matchCase));
            if (found < 0)
                Check(model.Anchor() == anchor && model.Caret() == caret);
            break;
        }
        case 7: {
            std::u16string pattern = in.Text();
            model.ReplaceAll(pattern, in.Text(),
                             in.Byte() % 2 ? quillet::FindOption::MatchCase
                                           : quillet::FindOption::IgnoreCase);
            text = model.Text();
            break;
        }
        case 8: {
            std::u16string joined;
            for (std::u16string_view piece : model.Pieces())
                joined += piece;
            Check(joined == model.Text());
            break;
        }
        }
        CheckConsistent(model, text);
    }
    return 0;
}
