// Speed and memory of the text engine over the shared corpus, with the options the
// processing pipeline uses (post-processing on, as the project default).
#include "HeapMeter.h"

#include "text/Cp866.h"
#include "text/DetectCp1251.h"
#include "text/FormatText.h"
#include "text/ParagraphMode.h"
#include "text/TextLines.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

std::string CorpusPath(const std::string& name)
{
    const char* dir = std::getenv("FOLIO_BENCH_CORPUS");
    return std::string(dir ? dir : FOLIO_BENCH_CORPUS) + "/" + name;
}

const std::string& Bytes(const std::string& name)
{
    static std::map<std::string, std::string> cache;
    auto it = cache.find(name);
    if (it == cache.end()) {
        std::ifstream in(CorpusPath(name), std::ios::binary);
        it = cache.emplace(name, std::string(std::istreambuf_iterator<char>(in), {})).first;
    }
    return it->second;
}

// The file's lines, `copies` times over (for the linearity check).
std::vector<std::string> Lines(const std::string& name, int copies)
{
    const auto once = folio::SplitTextLines(Bytes(name));
    std::vector<std::string> lines;
    lines.reserve(once.size() * copies);
    for (int i = 0; i < copies; ++i) lines.insert(lines.end(), once.begin(), once.end());
    return lines;
}

// Writes over more memory than the last-level cache holds, so the next run starts cold, as a
// book processed once does.
void EvictCaches()
{
    static std::vector<char> junk(96u << 20);
    static char value = 0;
    ++value;
    for (size_t i = 0; i < junk.size(); i += 64) junk[i] = value;
    benchmark::ClobberMemory();
}

void RunEngine(benchmark::State& state, const std::string& file, folio::ParagraphMode mode,
               folio::FormatOptions options, int copies, bool cold = false)
{
    const auto lines = Lines(file, copies);
    const size_t inputBytes = Bytes(file).size() * copies;
    if (inputBytes == 0) {
        state.SkipWithError(("corpus file missing: " + CorpusPath(file)).c_str());
        return;
    }
    size_t extraPeak = 0;
    size_t outputLines = 0;
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            EvictCaches();
            state.ResumeTiming();
        }
        heapmeter::ResetPeak();
        const size_t before = heapmeter::LiveBytes();
        auto result = folio::FormatTextInMode(lines, mode, options);
        extraPeak = std::max(extraPeak, heapmeter::PeakBytes() - before);
        outputLines = result.lines.size();
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * inputBytes));
    state.counters["peak_heap_per_input_byte"] = static_cast<double>(extraPeak) / inputBytes;
    state.counters["output_lines"] = static_cast<double>(outputLines);
}

folio::FormatOptions PipelineOptions(bool recode = false)
{
    folio::FormatOptions o;
    o.PostProcess = true; // project default "Постобработка" on
    o.RecodeCp866 = recode;
    return o;
}

using folio::ParagraphMode;

// The machine is shared: besides the median, the fastest repetition shows the undisturbed time.
double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

#define ENGINE_BENCH(name, file, mode, copies, recode)                                          \
    void name(benchmark::State& s) { RunEngine(s, file, mode, PipelineOptions(recode), copies); } \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest)

ENGINE_BENCH(FormatText_BookWrapped_ModeOff, "book-wrapped.txt", ParagraphMode::Off, 1, false);
ENGINE_BENCH(FormatText_BookWrapped_ModeOn, "book-wrapped.txt", ParagraphMode::On, 1, false);
ENGINE_BENCH(FormatText_BookWrapped_ModeAuto, "book-wrapped.txt", ParagraphMode::Auto, 1, false);
ENGINE_BENCH(FormatText_BookBlank_ModeOff, "book-blank.txt", ParagraphMode::Off, 1, false);
ENGINE_BENCH(FormatText_BookBlank_ModeAuto, "book-blank.txt", ParagraphMode::Auto, 1, false);
ENGINE_BENCH(FormatText_Book2Wrapped_ModeOff, "book2-wrapped.txt", ParagraphMode::Off, 1, false);
ENGINE_BENCH(FormatText_Book2Wrapped_ModeAuto, "book2-wrapped.txt", ParagraphMode::Auto, 1, false);
ENGINE_BENCH(FormatText_BookCp866_Recode_ModeOff, "book-cp866.txt", ParagraphMode::Off, 1, true);
// Linearity: the same text four times over.
ENGINE_BENCH(FormatText_BookWrappedX4_ModeOff, "book-wrapped.txt", ParagraphMode::Off, 4, false);
ENGINE_BENCH(FormatText_BookWrappedX4_ModeAuto, "book-wrapped.txt", ParagraphMode::Auto, 4, false);

// The same with the caches emptied before every run: the warm runs above keep a 1.8 MB book
// and its output in the last-level cache, which the four-fold text no longer fits.
#define COLD_BENCH(name, copies)                                                                  \
    void name(benchmark::State& s)                                                                \
    {                                                                                             \
        RunEngine(s, "book-wrapped.txt", ParagraphMode::Off, PipelineOptions(), copies, true);    \
    }                                                                                             \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest)
COLD_BENCH(FormatText_BookWrapped_ModeOff_Cold, 1);
COLD_BENCH(FormatText_BookWrappedX4_ModeOff_Cold, 4);

void DetectCp1251_BookCp866(benchmark::State& state)
{
    const std::string& text = Bytes("book-cp866.txt");
    for (auto _ : state) benchmark::DoNotOptimize(folio::DetectCp1251(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(DetectCp1251_BookCp866)->Unit(benchmark::kMillisecond);

void Cp866ToCp1251_BookCp866(benchmark::State& state)
{
    const std::string& text = Bytes("book-cp866.txt");
    for (auto _ : state) benchmark::DoNotOptimize(folio::Cp866ToCp1251(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(Cp866ToCp1251_BookCp866)->Unit(benchmark::kMillisecond);

} // namespace
