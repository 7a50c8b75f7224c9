#include "editor/control/text_model.h"

#include "editor/control/case_folding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

class CountingEvents : public TextControlEvents {
public:
    void OnChange() override { ++changes; }
    bool OnKeyDown(int32_t, int32_t) override { return false; }
    void OnMouseDown(int16_t, int16_t, int32_t, int32_t) override {}
    int changes = 0;
};

struct Model {
    explicit Model(std::u16string text) {
        model.SetText(std::move(text));
        model.SetEvents(&events);
    }
    TextModel model;
    CountingEvents events;
};

// A text of minLength to maxLength pieces drawn from the alphabet.
template <size_t N>
std::u16string RandomText(std::mt19937& random, const std::u16string_view (&alphabet)[N], int minLength,
                          int maxLength) {
    std::u16string s;
    const int length = std::uniform_int_distribution<int>(minLength, maxLength)(random);
    for (int i = 0; i < length; ++i)
        s.insert(s.size(), alphabet[std::uniform_int_distribution<size_t>(0, N - 1)(random)]);
    return s;
}

// Line starts found by reading the text, for the line index to agree with.
std::vector<int32_t> LineStartsOf(std::u16string_view text) {
    std::vector<int32_t> starts{0};
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == u'\r' && text[i + 1] == u'\n')
            starts.push_back(int32_t(i + 2));
    return starts;
}

TEST(ModelReplaceAll, GivesTheTextCountCaretAndLinesOfReplacingMatchByMatchUndoneInOneStep) {
    std::mt19937 random(5);
    const std::u16string_view alphabet[] = {u"a", u"A", u"b", u"\r\n", u"я", u"Я", u"\n", u"\r"};
    auto pick = [&](int maxLength) { return RandomText(random, alphabet, 0, maxLength); };
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = pick(24);
        std::u16string pattern = pick(3);
        if (pattern.empty())
            pattern = u"a";
        const std::u16string replacement = pick(3);
        const FindOption options = round % 2 ? FindOption::MatchCase : FindOption::IgnoreCase;
        Model loop(text);
        Model fast(text);
        const std::u16string before = fast.model.Text();
        loop.model.SetSelection(1, 1);
        fast.model.SetSelection(1, 1);
        // The one-match-at-a-time loop every control must agree with.
        const int32_t expected = loop.model.TextContent::ReplaceAll(pattern, replacement, options);
        ASSERT_EQ(fast.model.ReplaceAll(pattern, replacement, options), expected) << round;
        ASSERT_EQ(fast.model.Text(), loop.model.Text()) << round;
        ASSERT_EQ(fast.model.SelStart(), loop.model.SelStart()) << round;
        ASSERT_EQ(fast.model.SelLength(), loop.model.SelLength()) << round;
        ASSERT_EQ(fast.events.changes, expected > 0 ? 1 : 0) << round;
        const std::vector<int32_t> lines = LineStartsOf(fast.model.Text());
        ASSERT_EQ(fast.model.LineCount(), int32_t(lines.size())) << round;
        for (size_t line = 0; line < lines.size(); ++line)
            ASSERT_EQ(fast.model.LineStart(int32_t(line)), lines[line]) << round;
        fast.model.Undo();
        ASSERT_EQ(fast.model.Text(), before) << round;
        ASSERT_FALSE(fast.model.CanUndo()) << round;
    }
}

// Every position compared in turn, folding through the same table.
int32_t FindByComparingEverywhere(std::u16string_view text, std::u16string_view pattern, size_t start,
                                  bool matchCase) {
    const char16_t* table = casefold::BmpTable();
    auto fold = [&](char16_t c) { return matchCase ? c : table[c]; };
    for (size_t p = start; p + pattern.size() <= text.size(); ++p) {
        size_t k = 0;
        while (k < pattern.size() && fold(text[p + k]) == fold(pattern[k]))
            ++k;
        if (k == pattern.size())
            return int32_t(p);
    }
    return -1;
}

TEST(ModelFind, FindsWhatComparingAtEveryPositionFindsWhereverTheEditGapLies) {
    std::mt19937 random(11);
    const std::u16string_view alphabet[] = {u"a", u"A", u"b", u"\r\n", u"я", u"Я", u"ё", u"Ё", u" "};
    auto pick = [&](int minLength, int maxLength) {
        return RandomText(random, alphabet, minLength, maxLength);
    };
    for (int round = 0; round < 2000; ++round) {
        Model m(pick(0, 40));
        // An insertion leaves the gap where it was made.
        m.model.SetSelStart(std::uniform_int_distribution<int32_t>(0, m.model.TextLength())(random));
        m.model.SetSelText(pick(0, 3));
        const std::u16string text = m.model.Text();
        std::u16string pattern = pick(1, 7);
        const size_t gap = size_t(m.model.SelStart());
        if (round % 4 < 2 && text.size() >= 6 && gap >= 2 && gap + 2 <= text.size()) {
            // Half the time a piece of the text that runs across the gap, in the other case.
            const size_t from = gap - std::min<size_t>(gap, 1 + round % 3);
            pattern = text.substr(from, std::min<size_t>(text.size() - from, 4 + round % 3));
            for (auto& c : pattern)
                c = c == u'a' ? u'A' : c == u'я' ? u'Я' : c;
        }
        const bool matchCase = round % 2 == 1;
        const int32_t start = std::uniform_int_distribution<int32_t>(0, int32_t(text.size()))(random);
        const int32_t expected = start >= int32_t(text.size())
                                     ? -1
                                     : FindByComparingEverywhere(text, pattern, size_t(start), matchCase);
        ASSERT_EQ(m.model.Find(pattern, start, matchCase ? FindOption::MatchCase : FindOption::IgnoreCase),
                  expected)
            << round;
    }
}

} // namespace
} // namespace quillet
