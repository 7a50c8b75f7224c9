// Replace All and a whole-document Find miss on large documents, through the document model as
// the editor drives it. Builds for the host and as a Windows console program run under Wine;
// prints one line per case with the time taken.

#include "editor/control/text_model.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using quillet::TextModel;

// Lines of ordinary text, one "needle" in each, CR LF between them, about `size` units long.
std::u16string Document(size_t size, size_t lineLength) {
    static constexpr std::u16string_view kFiller =
        u"Every line of the test document carries some ordinary words and one pin here; ";
    std::u16string text;
    text.reserve(size + lineLength);
    while (text.size() < size) {
        std::u16string line;
        while (line.size() + 8 < lineLength)
            line.append(kFiller.substr(0, std::min(kFiller.size(), lineLength - 8 - line.size())));
        line.insert(line.size() / 2, u"needle");
        text.append(line.substr(0, lineLength - 2));
        text.append(u"\r\n");
    }
    return text;
}

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

template <class F> double Best(int runs, F&& once) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, once());
    return best;
}

void ReplaceAllCase(const char* name, size_t size, size_t lineLength, double goal) {
    const std::u16string text = Document(size, lineLength);
    int32_t count = 0;
    const double best = Best(3, [&] {
        TextModel model;
        model.SetText(text);
        const auto start = std::chrono::steady_clock::now();
        count = model.ReplaceAll(u"NEEDLE", u"pin", quillet::FindOption::IgnoreCase);
        return Seconds(std::chrono::steady_clock::now() - start);
    });
    std::printf("%-44s %9.3f s  (%d replacements in %.1f M characters; goal < %.1f s)\n", name, best, count,
                double(text.size()) / 1e6, goal);
}

void FindMissCase(const char* name, std::u16string_view pattern, quillet::FindOption options) {
    TextModel model;
    model.SetText(Document(50'000'000, 80));
    int32_t found = 0;
    const double best = Best(5, [&] {
        const auto start = std::chrono::steady_clock::now();
        found = model.Find(pattern, 0, options);
        return Seconds(std::chrono::steady_clock::now() - start);
    });
    std::printf("%-44s %9.3f s  (result %d over %.1f M characters; goal < 0.2 s)\n", name, best, found,
                double(model.TextLength()) / 1e6);
}

} // namespace

int main() {
    ReplaceAllCase("Replace All, 100,000 in 10 MB", 10'000'000, 100, 0.5);
    ReplaceAllCase("Replace All, 1,000,000 in 50 MB", 50'000'000, 50, 2.0);
    // A pattern that starts with the text's commonest letter, so most characters are candidates.
    FindMissCase("Find miss, 50 MB, case ignored, common start", u"eveRY needlework",
                 quillet::FindOption::IgnoreCase);
    FindMissCase("Find miss, 50 MB, case ignored, Cyrillic", u"Квиллет", quillet::FindOption::IgnoreCase);
    FindMissCase("Find miss, 50 MB, match case", u"every needlework", quillet::FindOption::MatchCase);
    FindMissCase("Find miss, 50 MB, case ignored, 1 unit", u"Z", quillet::FindOption::IgnoreCase);
    FindMissCase("Find miss, 50 MB, case ignored, 2 units", u"eZ", quillet::FindOption::IgnoreCase);
    FindMissCase("Find miss, 50 MB, case ignored, 3 units", u"eZe", quillet::FindOption::IgnoreCase);
    return 0;
}
