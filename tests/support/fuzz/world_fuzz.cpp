// libFuzzer entry: every input is read as a world file and as a creature
// file, and whatever is accepted must save and read back unchanged.
#include "world_invariants.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    requireRoundTrip(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    return 0;
}
