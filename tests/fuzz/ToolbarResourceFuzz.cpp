// The toolbar resource parser on any bytes: it reads only what it is given
// (ASan sees the input in a buffer of exactly its size), and what it accepts
// agrees with an independent reading of the header and the id list.
#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzCheck.h"
#include "controls/ToolbarResource.h"

namespace {

unsigned Word(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly size bytes, so any read past the end is caught.
    std::vector<uint8_t> bytes(data, data + size);
    ToolbarResource parsed = {7, 7, {1, 2, 3}};
    bool accepted = ParseToolbarResource(bytes.empty() ? nullptr : bytes.data(), size, &parsed);

    bool wellFormed = size >= 8 && Word(bytes, 0) == 1 && Word(bytes, 2) != 0 && Word(bytes, 4) != 0 &&
                      (size - 8) / 2 >= Word(bytes, 6);
    FUZZ_CHECK(accepted == wellFormed);
    if (!accepted) {
        // A refused resource leaves the result as it was.
        FUZZ_CHECK(parsed.width == 7 && parsed.height == 7 && parsed.commandIds.size() == 3);
        return 0;
    }
    FUZZ_CHECK(parsed.width == static_cast<int>(Word(bytes, 2)));
    FUZZ_CHECK(parsed.height == static_cast<int>(Word(bytes, 4)));
    FUZZ_CHECK(parsed.commandIds.size() == Word(bytes, 6));
    for (size_t i = 0; i < parsed.commandIds.size(); ++i) {
        FUZZ_CHECK(parsed.commandIds[i] == Word(bytes, 8 + 2 * i));
        FUZZ_CHECK(parsed.commandIds[i] <= 0xFFFF);
    }
    return 0;
}
