#include "editor/control/text_model.h"

#include "tests/unit/model_reference.h"

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
        ASSERT_TRUE(testing::LinesAgree(fast.model, fast.model.Text())) << round;
        fast.model.Undo();
        ASSERT_EQ(fast.model.Text(), before) << round;
        ASSERT_FALSE(fast.model.CanUndo()) << round;
    }
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
        const int32_t expected = testing::FindNaively(text, pattern, start, matchCase);
        ASSERT_EQ(m.model.Find(pattern, start, matchCase ? FindOption::MatchCase : FindOption::IgnoreCase),
                  expected)
            << round;
    }
}

} // namespace
} // namespace quillet
