// Arbitrary bytes as a palette file for readGpl, and the same bytes through readPaletteFile.
#include "exchange_fuzz.h"

using namespace tintara;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzing::checkReader([](std::string_view b) { return readGpl(b); },
                         [](const ExchangePalette& p) { return writeGpl(p); }, bytes);
    try {
        readPaletteFile("fuzzgpl.gpl", bytes);
    } catch (const ExchangeError&) {
    }
    return 0;
}
