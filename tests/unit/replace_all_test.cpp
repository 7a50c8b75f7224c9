#include "editor/control/text_model.h"

#include "editor/control/case_folding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

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

// The one-match-at-a-time loop every control must agree with.
int32_t ReplaceMatchByMatch(TextModel& model, std::u16string_view pattern, std::u16string_view replacement,
                            FindOption option) {
    return model.TextContent::ReplaceAll(pattern, replacement, option);
}

TEST(ModelReplaceAll, GivesTheTextCountAndCaretOfReplacingMatchByMatch) {
    std::mt19937 random(5);
    const std::u16string_view alphabet[] = {u"a", u"A", u"b", u"\r\n", u"я", u"Я", u"\n", u"\r"};
    auto pick = [&](int maxLength) {
        std::u16string s;
        const int length = std::uniform_int_distribution<int>(0, maxLength)(random);
        for (int i = 0; i < length; ++i)
            s.insert(s.size(),
                     alphabet[std::uniform_int_distribution<size_t>(0, std::size(alphabet) - 1)(random)]);
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = pick(24);
        std::u16string pattern = pick(3);
        if (pattern.empty())
            pattern = u"a";
        const std::u16string replacement = pick(3);
        const FindOption options = round % 2 ? FindOption::MatchCase : FindOption::IgnoreCase;
        Model loop(text);
        Model fast(text);
        loop.model.SetSelection(1, 1);
        fast.model.SetSelection(1, 1);
        const int32_t expected = ReplaceMatchByMatch(loop.model, pattern, replacement, options);
        ASSERT_EQ(fast.model.ReplaceAll(pattern, replacement, options), expected) << round;
        ASSERT_EQ(fast.model.Text(), loop.model.Text()) << round;
        ASSERT_EQ(fast.model.SelStart(), loop.model.SelStart()) << round;
        ASSERT_EQ(fast.model.SelLength(), loop.model.SelLength()) << round;
        ASSERT_EQ(fast.events.changes, expected > 0 ? 1 : 0) << round;
    }
}

TEST(ModelReplaceAll, IsUndoneInOneStepAndLeavesAMissUntouched) {
    Model m(u"Да да\r\nДА нет");
    m.model.SetSelection(2, 4);
    EXPECT_EQ(m.model.ReplaceAll(u"zz", u"y", FindOption::IgnoreCase), 0);
    EXPECT_EQ(m.events.changes, 0);
    EXPECT_FALSE(m.model.CanUndo());
    EXPECT_EQ(m.model.SelStart(), 2);
    EXPECT_EQ(m.model.SelLength(), 2);

    EXPECT_EQ(m.model.ReplaceAll(u"да", u"ja", FindOption::IgnoreCase), 3);
    EXPECT_EQ(m.model.Text(), u"ja ja\r\nja нет");
    EXPECT_EQ(m.model.SelStart(), 9);
    EXPECT_EQ(m.model.LineCount(), 2);
    EXPECT_EQ(m.model.LineStart(1), 7);
    m.model.Undo();
    EXPECT_EQ(m.model.Text(), u"Да да\r\nДА нет");
    EXPECT_FALSE(m.model.CanUndo());
    EXPECT_EQ(m.events.changes, 2);
}

TEST(ModelReplaceAll, KeepsTheLineIndexWhenReplacementsAddAndRemoveLines) {
    Model m(u"a;b;c\r\nd;e");
    EXPECT_EQ(m.model.ReplaceAll(u";", u"\n", FindOption::MatchCase), 3);
    EXPECT_EQ(m.model.Text(), u"a\r\nb\r\nc\r\nd\r\ne");
    EXPECT_EQ(m.model.LineCount(), 5);
    EXPECT_EQ(m.model.LineStart(4), 12);
    EXPECT_EQ(m.model.ReplaceAll(u"\r\n", u"", FindOption::MatchCase), 4);
    EXPECT_EQ(m.model.Text(), u"abcde");
    EXPECT_EQ(m.model.LineCount(), 1);
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
        std::u16string s;
        const int length = std::uniform_int_distribution<int>(minLength, maxLength)(random);
        for (int i = 0; i < length; ++i)
            s.insert(s.size(),
                     alphabet[std::uniform_int_distribution<size_t>(0, std::size(alphabet) - 1)(random)]);
        return s;
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
