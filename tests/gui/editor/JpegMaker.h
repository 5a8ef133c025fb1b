#pragma once

// Test pictures made with libjpeg's compressor, so no picture file has to be shipped.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace qloom::testpics {

// A picture made here with libjpeg's compressor: left half red, right half blue.
inline std::vector<uint8_t> MakeJpeg(int width, int height, bool progressive, bool grey = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * size_t(info.input_components));
    for (int x = 0; x < width; ++x) {
        if (grey) {
            row[size_t(x)] = x < width / 2 ? 40 : 200;
            continue;
        }
        const bool left = x < width / 2;
        row[size_t(x) * 3 + 0] = left ? 255 : 0;
        row[size_t(x) * 3 + 1] = 0;
        row[size_t(x) * 3 + 2] = left ? 0 : 255;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

} // namespace qloom::testpics
