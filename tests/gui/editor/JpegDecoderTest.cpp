#include "gui/editor/internal/JpegDecoder.h"

#include "JpegMaker.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
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
        const Expected<DecodedImage> decoded = JpegDecoder::decode(bytes.data(), bytes.size());
        ASSERT_TRUE(decoded) << progressive << decoded.status().message;
        const DecodedImage& img = *decoded;
        EXPECT_EQ(img.width, 37);
        EXPECT_EQ(img.height, 21);
        ASSERT_EQ(img.rgb.size(), 37u * 21u * 3u);
        ExpectRedThenBlue(img);
    }
}

TEST(JpegDecoder, GreyPicturesComeOutAsRgb) {
    const auto bytes = MakeJpeg(16, 8, false, true);
    const Expected<DecodedImage> decoded = JpegDecoder::decode(bytes.data(), bytes.size());
    ASSERT_TRUE(decoded);
    const DecodedImage& img = *decoded;
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
    const Expected<DecodedImage> decoded = JpegDecoder::decode(buffer, size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    ASSERT_TRUE(decoded);
    const DecodedImage& img = *decoded;
    EXPECT_GT(img.rgb[0], 240);
    EXPECT_LT(img.rgb[1], 15);
    EXPECT_LT(img.rgb[2], 15);
}

TEST(JpegDecoder, TruncatedAndForeignDataFailWithoutCrashing) {
    for (bool progressive : {false, true}) {
        const auto bytes = MakeJpeg(64, 64, progressive);
        for (size_t keep : {size_t(2), size_t(20), bytes.size() / 2, bytes.size() - 2}) {
            const Expected<DecodedImage> decoded = JpegDecoder::decode(bytes.data(), keep);
            ASSERT_FALSE(decoded) << "kept " << keep << " of " << bytes.size();
            // libjpeg's words for the fault, not a blank message box.
            EXPECT_FALSE(decoded.status().message.empty()) << "kept " << keep;
        }
    }
    const std::string gif = "GIF89a\x01\x00\x01\x00\x00\x00\x00;";
    const Expected<DecodedImage> foreign =
        JpegDecoder::decode(reinterpret_cast<const uint8_t*>(gif.data()), gif.size());
    ASSERT_FALSE(foreign);
    EXPECT_FALSE(foreign.status().message.empty());
    const Expected<DecodedImage> nothing = JpegDecoder::decode(nullptr, 0);
    ASSERT_FALSE(nothing);
    EXPECT_EQ(nothing.status().message, "not a JPEG file");
}

TEST(JpegDecoder, CorruptedBytesNeverCrash) {
    auto bytes = MakeJpeg(48, 48, false);
    std::srand(7);
    for (int round = 0; round < 200; ++round) {
        auto damaged = bytes;
        for (int i = 0; i < 8; ++i)
            damaged[size_t(std::rand()) % damaged.size()] = uint8_t(std::rand());
        const Expected<DecodedImage> decoded = JpegDecoder::decode(damaged.data(), damaged.size());
        if (decoded)
            EXPECT_EQ(decoded->rgb.size(), size_t(decoded->width) * size_t(decoded->height) * 3);
        else
            EXPECT_FALSE(decoded.status().message.empty());
    }
}

TEST(JpegDecoder, ReadsFilesAndRefusesMissingOnes) {
    const auto bytes = MakeJpeg(10, 10, true);
    const auto path = std::filesystem::temp_directory_path() / "qloom-jpeg-test.jpg";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const Expected<DecodedImage> read = JpegDecoder::decodeFile(path.string());
    ASSERT_TRUE(read) << read.status().message;
    EXPECT_EQ(read->width, 10);
    std::filesystem::remove(path);
    // The reason and the file travel with the failure, for the message that names both.
    const Expected<DecodedImage> missing = JpegDecoder::decodeFile(path.string());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.status().file, path.string());
    EXPECT_EQ(missing.status().reason, std::strerror(ENOENT));
    EXPECT_NE(missing.status().message.find(path.string()), std::string::npos);
    // A file that is there but no picture fails too, naming the file.
    std::ofstream(path, std::ios::binary) << "GIF89a not a jpeg";
    const Expected<DecodedImage> foreign = JpegDecoder::decodeFile(path.string());
    std::filesystem::remove(path);
    ASSERT_FALSE(foreign);
    EXPECT_EQ(foreign.status().file, path.string());
    EXPECT_FALSE(foreign.status().message.empty());
}

} // namespace
} // namespace qloom
