#pragma once

// A small JPEG decoder for the picture chooser's preview, on top of libjpeg. Damaged input never
// crashes: it gives a failed result.

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
    // False for anything that is not a complete JPEG picture, including a truncated one.
    static bool decode(const uint8_t* data, size_t size, DecodedImage& out,
                       std::string* error = nullptr);
    static bool decodeFile(const std::string& path, DecodedImage& out,
                           std::string* error = nullptr);
};

} // namespace qloom
