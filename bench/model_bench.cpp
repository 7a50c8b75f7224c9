// The document model with a 50 M character document: loading, memory per character, typing in
// the middle, and a search that finds nothing with letter case ignored.

#include "editor/control/text_model.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <string>

namespace quillet {
namespace {

constexpr size_t kDocumentChars = 50'000'000;

// Mixed Russian and English lines of varying length, sized exactly as the loader would hand
// them over (no spare capacity).
std::u16string MakeDocument(std::u16string_view lineBreak) {
    static const std::u16string_view words[] = {u"Съешь",  u"же",          u"ещё",   u"этих",
                                                u"мягких", u"французских", u"булок", u"the",
                                                u"quick",  u"brown",       u"fox",   u"jumps"};
    std::u16string text;
    text.reserve(kDocumentChars);
    size_t word = 0;
    size_t inLine = 0;
    while (text.size() + 16 < kDocumentChars) {
        text += words[word++ % std::size(words)];
        if (++inLine >= 6 + word % 7) {
            text += lineBreak;
            inLine = 0;
        } else {
            text += u' ';
        }
    }
    text.resize(kDocumentChars, u'.');
    text.shrink_to_fit();
    return text;
}

// Heap in use, large blocks (which malloc maps on their own) included.
size_t AllocatedBytes() {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void Load(benchmark::State& state, std::u16string_view lineBreak) {
    const std::u16string document = MakeDocument(lineBreak);
    double bytesPerChar = 0;
    double lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<TextModel>();
        std::u16string copy = document;
        size_t before = AllocatedBytes() - copy.capacity() * sizeof(char16_t);
        state.ResumeTiming();

        model->SetText(std::move(copy));

        state.PauseTiming();
        bytesPerChar = double(AllocatedBytes() - before) / double(model->TextLength());
        lines = double(model->LineCount());
        model.reset();
        state.ResumeTiming();
    }
    state.counters["chars"] = double(kDocumentChars);
    state.counters["lines"] = lines;
    state.counters["bytes_per_char"] = bytesPerChar;
}

// CR LF files need only the line index; LF files are widened as well.
void BM_SetText50MCrLf(benchmark::State& state) {
    Load(state, u"\r\n");
}
void BM_SetText50MLf(benchmark::State& state) {
    Load(state, u"\n");
}

// Memory after loading and a little typing in the middle (the gap then exists).
void BM_SteadyStateMemory(benchmark::State& state) {
    double bytesPerChar = 0;
    for (auto _ : state) {
        size_t before = AllocatedBytes();
        auto model = std::make_unique<TextModel>();
        model->SetText(MakeDocument(u"\r\n"));
        model->SetSelStart(model->TextLength() / 2);
        for (int i = 0; i < 100; ++i)
            model->ReplaceSelection(u"ж", EditKind::Typing);
        bytesPerChar = double(AllocatedBytes() - before) / double(model->TextLength());
        benchmark::DoNotOptimize(model->TextLength());
    }
    state.counters["bytes_per_char"] = bytesPerChar;
}

// The first keystroke in the middle makes the gap: the one full copy.
void BM_FirstInsertInTheMiddle(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TextModel model;
        model.SetText(MakeDocument(u"\r\n"));
        model.SetSelStart(model.TextLength() / 2);
        state.ResumeTiming();
        model.ReplaceSelection(u"ж", EditKind::Typing);
    }
}

// Every keystroke after it.
void BM_InsertInTheMiddle(benchmark::State& state) {
    TextModel model;
    model.SetText(MakeDocument(u"\r\n"));
    model.SetSelStart(model.TextLength() / 2);
    model.ReplaceSelection(u"ж", EditKind::Typing);
    for (auto _ : state) {
        model.ReplaceSelection(u"ж", EditKind::Typing);
        benchmark::DoNotOptimize(model.LineCount());
    }
}

// Typing at a new place far from the last edit moves the gap across half the document.
void BM_InsertAlternatingQuarters(benchmark::State& state) {
    TextModel model;
    model.SetText(MakeDocument(u"\r\n"));
    bool low = false;
    for (auto _ : state) {
        int32_t length = model.TextLength();
        model.SetSelStart(low ? length / 4 : length / 4 * 3);
        low = !low;
        model.ReplaceSelection(u"ж", EditKind::Typing);
    }
}

void FindMiss(benchmark::State& state, FindOption options) {
    TextModel model;
    model.SetText(MakeDocument(u"\r\n"));
    // The gap in the middle: the search walks both halves.
    model.SetSelStart(model.TextLength() / 2);
    model.ReplaceSelection(u"ж", EditKind::Typing);
    for (auto _ : state)
        benchmark::DoNotOptimize(model.Find(u"Квиллет", 0, options));
    state.counters["chars_per_second"] = benchmark::Counter(
        double(model.TextLength()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FindMiss50MIgnoringCase(benchmark::State& state) {
    FindMiss(state, FindOption::IgnoreCase);
}
void BM_FindMiss50MMatchingCase(benchmark::State& state) {
    FindMiss(state, FindOption::MatchCase);
}

// A common letter first: many candidates to check.
void BM_FindMiss50MCommonFirstLetter(benchmark::State& state) {
    TextModel model;
    model.SetText(MakeDocument(u"\r\n"));
    for (auto _ : state)
        benchmark::DoNotOptimize(model.Find(u"ещё никогда", 0, FindOption::IgnoreCase));
}

void BM_ReplaceAll50M(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TextModel model;
        model.SetText(MakeDocument(u"\r\n"));
        state.ResumeTiming();
        benchmark::DoNotOptimize(model.ReplaceAll(u"булок", u"пирожков", FindOption::IgnoreCase));
    }
}

BENCHMARK(BM_SetText50MCrLf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SetText50MLf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SteadyStateMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FirstInsertInTheMiddle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InsertInTheMiddle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertAlternatingQuarters)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FindMiss50MIgnoringCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindMiss50MMatchingCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindMiss50MCommonFirstLetter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll50M)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace quillet

BENCHMARK_MAIN();
