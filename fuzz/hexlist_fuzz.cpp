// Arbitrary bytes as a palette file for readHexList, and the same bytes through readPaletteFile.
#include "exchange_fuzz.h"

using namespace tintara;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    fuzzing::checkReader([](std::string_view b) { return readHexList(b); },
                         [](const ExchangePalette& p) { return writeHexList(p); }, bytes);
    try {
        readPaletteFile("fuzzhexlist.hex", bytes);
    } catch (const ExchangeError&) {
    }
    return 0;
}
