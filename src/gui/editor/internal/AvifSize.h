#pragma once

// The size in pixels of an AVIF picture, read from its container. Qt on Debian 12 has no AVIF
// reader, yet the picture chooser shows every picture's size; the container states it in a
// few bytes near the start of the file (the image's "ispe" property), so no decoder is needed.

#include <cstdint>
#include <string_view>

namespace qloom {

struct PixelSize {
    uint32_t width = 0;
    uint32_t height = 0;
};

// `head` is the start of the file (the first 64 KiB hold the header of any ordinary AVIF
// file). False for anything that is not an AVIF file with a stated size, also for cut or
// damaged containers: nothing is read outside `head`.
bool ReadAvifSize(std::string_view head, PixelSize& size);

} // namespace qloom
