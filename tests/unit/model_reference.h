#pragma once
// Plain, slow references the document model must agree with, for its tests and its fuzz target:
// line breaks made CR LF, the lines of a text, a search that compares at every position; and a
// player of any sequence of operations that checks the model against them after each one.

#include "editor/control/case_folding.h"
#include "editor/control/text_model.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::testing {

// Every CR, LF or CR LF becomes one CR LF.
inline std::u16string Normalized(std::u16string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            out += u"\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Whether the model's line index agrees with the lines read off the text (CR LF breaks only):
// every line's start and end, and the line of every position.
inline bool LinesAgree(const TextModel& model, std::u16string_view text) {
    int32_t line = 0, start = 0;
    for (int32_t p = 0; p <= int32_t(text.size()); ++p) {
        if (p > 1 && text[p - 1] == u'\n') {
            if (model.LineEnd(line) != p - 2)
                return false;
            ++line;
            start = p;
        }
        if (model.LineFromPosition(p) != line || model.LineStart(line) != start)
            return false;
    }
    return model.LineCount() == line + 1 && model.LineEnd(line) == int32_t(text.size());
}

// The first match at or after start, comparing at every position through the folding table (per
// unit, so texts with surrogate pairs need the model's own rules).
inline int32_t FindNaively(std::u16string_view text, std::u16string_view pattern, int32_t start,
                           bool matchCase) {
    const char16_t* table = casefold::BmpTable();
    auto fold = [&](char16_t c) { return matchCase ? c : table[c]; };
    for (size_t p = size_t(std::max(start, 0)); !pattern.empty() && p + pattern.size() <= text.size(); ++p) {
        size_t k = 0;
        while (k < pattern.size() && fold(text[p + k]) == fold(pattern[k]))
            ++k;
        if (k == pattern.size())
            return int32_t(p);
    }
    return -1;
}

// Plays the operations the bytes spell on a fresh model: texts written, selections near the caret
// and anywhere, typing and program edits, ranges replaced, undo, searches, Replace All and the
// pieces handed out for saving. After each one the model must agree with a plain string: its text
// with only CR LF breaks, its lines, a selection that never splits a break; a search must find
// what FindNaively finds (surrogate pairs aside, which fold as pairs), Replace All what replacing
// match by match gives, and undoing a program edit must give back the text and the selection it
// replaced. Throws std::logic_error at the first disagreement, naming it.
inline void PlayOperations(const uint8_t* data, size_t size) {
    size_t at = 0;
    auto byte = [&] { return at < size ? data[at++] : uint8_t(0); };
    auto someText = [&](int most) { // the characters that matter: breaks, case, NUL, a pair, Kelvin
        static const char16_t alphabet[] = {u'a', u'A',   u'b',   u'\r',  u'\n',  u'Ё', u'ё', u'\0',
                                            u'k', 0x212A, 0xD801, 0xDC00, 0xDC28, u'я', u'Я', u' '};
        std::u16string text;
        for (int n = byte() % most; n > 0; --n)
            text.push_back(alphabet[byte() % std::size(alphabet)]);
        return text;
    };
    auto check = [](bool agrees, const char* what) {
        if (!agrees)
            throw std::logic_error(what);
    };
    auto hasPairs = [](std::u16string_view s) {
        return s.find_first_of(u"\xD801\xDC00\xDC28") != std::u16string_view::npos;
    };
    struct Step {
        std::u16string text;
        int32_t anchor, caret; // -1: Replace All, whose selection afterwards is its own
    };
    TextModel model;
    std::u16string text;
    std::vector<Step> undo; // the program edits on top of the model's undo store, newest last
    while (at < size) {
        const int32_t length = int32_t(text.size());
        auto position = [&] { return int32_t(byte()) % (length + 3) - 1; };
        switch (byte() % 10) {
        case 0: {
            const std::u16string raw = someText(256);
            model.SetText(raw);
            text = Normalized(raw);
            undo.clear();
            check(!model.CanUndo(), "a written text leaves something to undo");
            break;
        }
        case 1: { // near the caret, as typing and the arrows go
            const int32_t from = model.Caret() + byte() % 11 - 5;
            model.SetSelection(from, from + byte() % 7);
            break;
        }
        case 2: {
            const int32_t anchor = position();
            model.SetSelection(anchor, position());
            break;
        }
        case 3:
        case 4: {
            const std::u16string inserted = Normalized(someText(8));
            const int32_t start = model.SelStart(), selected = model.SelLength();
            const bool typing = byte() % 2;
            if (!typing && (selected > 0 || !inserted.empty()))
                undo.push_back({text, model.Anchor(), model.Caret()});
            else if (typing)
                undo.clear(); // a run may join it to the edits before: not followed
            model.ReplaceSelection(inserted, typing ? EditKind::Typing : EditKind::Program);
            text.replace(size_t(start), size_t(selected), inserted);
            check(model.SelStart() == start + int32_t(inserted.size()) && model.SelLength() == 0,
                  "the caret is not after what was written");
            break;
        }
        case 5: {
            const int32_t a = position(), b = position();
            model.ReplaceRange(a, b, someText(8), EditKind::Typing);
            text = model.Text(); // widened off any break: checked below
            undo.clear();
            break;
        }
        case 6:
            model.Undo();
            if (undo.empty()) {
                text = model.Text();
                break;
            }
            text = undo.back().text;
            check(model.Text() == text, "undo gives back another text");
            check(undo.back().anchor < 0 ||
                      (model.Anchor() == undo.back().anchor && model.Caret() == undo.back().caret),
                  "undo gives back another selection");
            undo.pop_back();
            break;
        case 7: {
            // Half the time a piece of the text from just before the caret, where the last edit left
            // the gap, in the other case.
            std::u16string pattern = someText(8);
            if (byte() % 2 && length > 0) {
                const size_t from = size_t(std::max(0, model.Caret() - 1 - byte() % 3));
                pattern = text.substr(from, 1 + byte() % 6);
                for (char16_t& c : pattern)
                    c = c == u'a' ? u'A' : c == u'A' ? u'a' : c == u'я' ? u'Я' : c == u'Я' ? u'я' : c;
            }
            const int32_t start = position(), anchor = model.Anchor(), caret = model.Caret();
            const bool matchCase = byte() % 2;
            const int32_t found =
                model.Find(pattern, start, matchCase ? FindOption::MatchCase : FindOption::IgnoreCase);
            if (!hasPairs(text) && !hasPairs(pattern))
                check(found == FindNaively(text, pattern, start, matchCase), "Find finds elsewhere");
            check(found >= 0 || (model.Anchor() == anchor && model.Caret() == caret),
                  "a failed search moves the selection");
            break;
        }
        case 8: { // as the one-match-at-a-time loop every control must agree with
            const std::u16string pattern = someText(8), replacement = someText(8);
            const FindOption option = byte() % 2 ? FindOption::MatchCase : FindOption::IgnoreCase;
            TextModel loop;
            loop.SetText(text);
            loop.SetSelection(model.Anchor(), model.Caret());
            const int32_t count = loop.TextContent::ReplaceAll(pattern, replacement, option);
            check(model.ReplaceAll(pattern, replacement, option) == count, "Replace All counts otherwise");
            check(model.Text() == loop.Text() && model.Anchor() == loop.Anchor() &&
                      model.Caret() == loop.Caret(),
                  "Replace All leaves another text or selection");
            if (count > 0)
                undo.push_back({text, -1, -1});
            text = model.Text();
            break;
        }
        case 9: {
            std::u16string joined;
            for (std::u16string_view piece : model.Pieces())
                joined += piece;
            check(joined == text, "the pieces are not the text");
            const int32_t a = position(), b = position();
            if (a >= 0 && b >= a && b <= length)
                check(model.Range(a, b) == text.substr(size_t(a), size_t(b - a)),
                      "a range is not the text's");
            break;
        }
        }
        if (undo.size() > 1000) // the model keeps that many steps
            undo.erase(undo.begin());
        check(model.TextLength() == int32_t(text.size()) && model.Text() == text, "the text differs");
        check(text == Normalized(text), "a break other than CR LF");
        check(LinesAgree(model, text), "the line index differs");
        for (int32_t edge : {model.Anchor(), model.Caret()})
            check(edge >= 0 && edge <= int32_t(text.size()) &&
                      !(edge > 0 && edge < int32_t(text.size()) && text[edge - 1] == u'\r'),
                  "the selection splits a break or leaves the text");
    }
}

} // namespace quillet::testing
