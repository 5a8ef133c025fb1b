#include "AvifMaker.h"

#include "gui/editor/internal/AvifSize.h"

#include <gtest/gtest.h>
#include <string>

namespace qloom {
namespace {

using testpics::AvifHead;
using testpics::U32;

TEST(AvifSize, ReadsTheSizePropertyWhereverTheBrandIsNamed) {
    PixelSize size;
    ASSERT_TRUE(ReadAvifSize(AvifHead("avif", 640, 427), size));
    EXPECT_EQ(size.width, 640u);
    EXPECT_EQ(size.height, 427u);
    // An encoder may name AVIF only among the compatible brands, after the minor version.
    std::string compatible = AvifHead("mif1", 3, 70000);
    compatible.replace(compatible.find("mif1miaf"), 4, "avis");
    ASSERT_TRUE(ReadAvifSize(compatible, size));
    EXPECT_EQ(size.height, 70000u);
}

TEST(AvifSize, OtherFilesAndDamagedContainersGiveNoSize) {
    PixelSize size;
    const std::string good = AvifHead("avif", 10, 20);
    EXPECT_FALSE(ReadAvifSize(AvifHead("heic", 10, 20), size)); // another picture kind
    EXPECT_FALSE(ReadAvifSize(AvifHead("avif", 0, 20), size));
    EXPECT_FALSE(ReadAvifSize("", size));
    EXPECT_FALSE(ReadAvifSize("GIF89a", size));
    // Every cut of the header ends the search inside the bytes given, never beyond them.
    for (size_t cut = 0; cut < good.find("mdat") - 4; ++cut)
        EXPECT_FALSE(ReadAvifSize(std::string_view(good).substr(0, cut), size)) << cut;
    // A box claiming more than the file holds, or less than its own header.
    std::string lying = good;
    lying.replace(good.find("meta") - 4, 4, U32(0x7FFFFFF0));
    EXPECT_FALSE(ReadAvifSize(lying, size));
    lying.replace(good.find("meta") - 4, 4, U32(3));
    EXPECT_FALSE(ReadAvifSize(lying, size));
}

} // namespace
} // namespace qloom
