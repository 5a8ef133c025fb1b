#include "gui/editor/internal/JpegDecoder.h"

#include "JpegMaker.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qloom {
namespace {

using testpics::MakeJpeg;

void ExpectRedThenBlue(const DecodedImage& img) {
    const uint8_t* left = &img.rgb[(size_t(img.height / 2) * img.width + 2) * 3];
    const uint8_t* right = &img.rgb[(size_t(img.height / 2) * img.width + img.width - 3) * 3];
    EXPECT_GT(left[0], 200);
    EXPECT_LT(left[2], 60);
    EXPECT_LT(right[0], 60);
    EXPECT_GT(right[2], 200);
}

TEST(JpegDecoder, DecodesBaselineAndProgressivePictures) {
    for (bool progressive : {false, true}) {
        const auto bytes = MakeJpeg(37, 21, progressive);
        DecodedImage img;
        ASSERT_TRUE(JpegDecoder::decode(bytes.data(), bytes.size(), img)) << progressive;
        EXPECT_EQ(img.width, 37);
        EXPECT_EQ(img.height, 21);
        ASSERT_EQ(img.rgb.size(), 37u * 21u * 3u);
        ExpectRedThenBlue(img);
    }
}

TEST(JpegDecoder, GreyPicturesComeOutAsRgb) {
    const auto bytes = MakeJpeg(16, 8, false, true);
    DecodedImage img;
    ASSERT_TRUE(JpegDecoder::decode(bytes.data(), bytes.size(), img));
    ASSERT_EQ(img.rgb.size(), 16u * 8u * 3u);
    EXPECT_EQ(img.rgb[0], img.rgb[1]);
    EXPECT_EQ(img.rgb[1], img.rgb[2]);
}

// CMYK as Adobe software writes it (inverted, with its marker): stored 255,0,0,255 is red.
TEST(JpegDecoder, AdobeCmykPicturesComeOutAsRgb) {
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 8;
    info.image_height = 8;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(8 * 4);
    for (size_t x = 0; x < 8; ++x) {
        row[x * 4 + 0] = 255;
        row[x * 4 + 3] = 255;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    DecodedImage img;
    const bool ok = JpegDecoder::decode(buffer, size, img);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    ASSERT_TRUE(ok);
    EXPECT_GT(img.rgb[0], 240);
    EXPECT_LT(img.rgb[1], 15);
    EXPECT_LT(img.rgb[2], 15);
}

TEST(JpegDecoder, TruncatedAndForeignDataFailWithoutCrashing) {
    for (bool progressive : {false, true}) {
        const auto bytes = MakeJpeg(64, 64, progressive);
        for (size_t keep : {size_t(2), size_t(20), bytes.size() / 2, bytes.size() - 2}) {
            DecodedImage img;
            std::string error;
            EXPECT_FALSE(JpegDecoder::decode(bytes.data(), keep, img, &error))
                << "kept " << keep << " of " << bytes.size();
            EXPECT_EQ(img.width, 0);
            EXPECT_TRUE(img.rgb.empty());
        }
    }
    const std::string gif = "GIF89a\x01\x00\x01\x00\x00\x00\x00;";
    DecodedImage img;
    std::string error;
    EXPECT_FALSE(
        JpegDecoder::decode(reinterpret_cast<const uint8_t*>(gif.data()), gif.size(), img, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(JpegDecoder::decode(nullptr, 0, img));
}

TEST(JpegDecoder, CorruptedBytesNeverCrash) {
    auto bytes = MakeJpeg(48, 48, false);
    std::srand(7);
    for (int round = 0; round < 200; ++round) {
        auto damaged = bytes;
        for (int i = 0; i < 8; ++i)
            damaged[size_t(std::rand()) % damaged.size()] = uint8_t(std::rand());
        DecodedImage img;
        if (JpegDecoder::decode(damaged.data(), damaged.size(), img)) {
            EXPECT_EQ(img.rgb.size(), size_t(img.width) * size_t(img.height) * 3);
        }
    }
}

TEST(JpegDecoder, ReadsFilesAndRefusesMissingOnes) {
    const auto bytes = MakeJpeg(10, 10, true);
    const auto path = std::filesystem::temp_directory_path() / "qloom-jpeg-test.jpg";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    DecodedImage img;
    EXPECT_TRUE(JpegDecoder::decodeFile(path.string(), img));
    EXPECT_EQ(img.width, 10);
    std::filesystem::remove(path);
    EXPECT_FALSE(JpegDecoder::decodeFile(path.string(), img));
}

} // namespace
} // namespace qloom
