#pragma once

// A small JPEG decoder for the picture chooser's preview, on top of libjpeg. Damaged input never
// crashes: it gives a failed result.

#include "model/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qloom {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // width * height * 3 bytes, rows top to bottom
};

class JpegDecoder {
public:
    // Pictures larger than this many pixels are refused rather than decoded into memory.
    static constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

    // Decodes baseline and progressive JPEG data (greyscale, colour or CMYK) to RGB.
    // A failure, with libjpeg's words for what is wrong, for anything that is not a complete
    // JPEG picture, including a truncated one.
    static Expected<DecodedImage> decode(const uint8_t* data, size_t size);
    // As decode(), for the file at `path`; a file that cannot be read fails with the system's
    // reason and the file.
    static Expected<DecodedImage> decodeFile(const std::string& path);
};

} // namespace qloom
