// The engine image and the skin table, embedded with their exact byte counts by
// the assembler's .incbin, so NUL bytes and size are kept as they are.
//
// In the Windows builds the image is that build's velmora.dll padded with zeros.
// The host build has no Windows library to carry: its image is a fixed stand-in of
// the same size that starts with "MZ" and is otherwise a short note and zeros
// (image.py standin), so code that handles the image runs unchanged in native tests.
#include "skin_data.h"

#include "skin_index.h"

#if defined(_WIN32)
#define QUORVEL_RODATA ".section .rdata,\"dr\"\n"
#else
#define QUORVEL_RODATA ".section .rodata\n"
#endif

asm(QUORVEL_RODATA
    ".balign 16\n"
    "quorvel_engine_image:\n"
    ".incbin \"" QUORVEL_ENGINE_IMAGE "\"\n"
    "quorvel_engine_image_end:\n"
    ".balign 16\n"
    "quorvel_skin_blob:\n"
    ".incbin \"" QUORVEL_SKIN_BLOB "\"\n"
    "quorvel_skin_blob_end:\n"
    ".text\n");

extern "C" const std::uint8_t engineImageStart[] asm("quorvel_engine_image");
extern "C" const std::uint8_t engineImageEnd[] asm("quorvel_engine_image_end");
extern "C" const std::uint8_t skinBlobStart[] asm("quorvel_skin_blob");
extern "C" const std::uint8_t skinBlobEnd[] asm("quorvel_skin_blob_end");

namespace skinData {

std::span<const std::uint8_t> engineImage()
{
    return {engineImageStart, std::size_t(engineImageEnd - engineImageStart)};
}

std::span<const std::uint8_t> skin(int number)
{
    if (number < 1 || number > 60) return {};
    const auto& e = generated::entries[number - 1];
    std::size_t blobSize = std::size_t(skinBlobEnd - skinBlobStart);
    if (e.offset > blobSize || e.size > blobSize - e.offset) return {};
    return {skinBlobStart + e.offset, e.size};
}

} // namespace skinData
