// Reading and writing a large "palettes.xml": 2,000 palettes of 20 colours in the program's own output
// form (about 1.3 MB). Bytes processed = the file's size, so the reported rate is the reader's throughput.
#include "xml/PaletteDocument.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using namespace tintara;

std::string largePaletteFile()
{
    constexpr int kPalettes = 2000;
    constexpr int kColors = 20;
    std::string out = "<Palettes>";
    char buf[64];
    for (int p = 0; p < kPalettes; ++p) {
        std::snprintf(buf, sizeof buf, "<Palette name=\"Palette %04d\">", p);
        out += buf;
        for (int c = 0; c < kColors; ++c) {
            const unsigned rgb = (static_cast<unsigned>(p) * 7919u + static_cast<unsigned>(c) * 104729u) & 0xFFFFFFu;
            std::snprintf(buf, sizeof buf, "<Color COLOR=\"#%06X\"></Color>", rgb);
            out += buf;
        }
        out += "</Palette>";
    }
    out += "</Palettes>\r\n";
    return out;
}

void readBench(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        PaletteDocument doc = PaletteDocument::parse(file);
        benchmark::DoNotOptimize(doc.root());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}

void BM_ReadPalettesUtf8(benchmark::State& state)
{
    readBench(state, largePaletteFile());
}
BENCHMARK(BM_ReadPalettesUtf8)->Unit(benchmark::kMillisecond);

// The same document as a UTF-16 file (little endian with a byte-order mark), as a file read as UTF-16 is
// written back.
void BM_ReadPalettesUtf16(benchmark::State& state)
{
    const std::string utf8 = largePaletteFile();
    const std::string utf16 = utf8ToUtf16LE(utf8);
    readBench(state, utf16);
}
BENCHMARK(BM_ReadPalettesUtf16)->Unit(benchmark::kMillisecond);

void BM_WritePalettes(benchmark::State& state)
{
    const std::string file = largePaletteFile();
    const PaletteDocument doc = PaletteDocument::parse(file);
    for (auto _ : state) {
        std::string out = doc.serialize();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_WritePalettes)->Unit(benchmark::kMillisecond);

} // namespace

// glibc hands freed heap back to the system or keeps it depending on the order of the frees, and
// touching the pages again then costs more than the parse itself, for the old reader and the new one
// alike. The program reads the file once, so the loop measures the reading with the heap kept.
int main(int argc, char** argv)
{
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
