// The reading of a kept place index whose header and hash were forged: whatever the
// contents, they are read whole or refused, and what is read holds its places.

#include <cstdint>
#include <string>

#include "core/atlas/place_index.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string contents(reinterpret_cast<const char*>(data), size);
    if (const std::optional<std::size_t> places = orvanta::atlas::KeptPlaceCount(contents)) {
        ORVANTA_FUZZ_CHECK(*places * 42 <= size);  // a place takes at least 42 bytes
    }
    return 0;
}
