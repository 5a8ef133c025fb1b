#include "gui/editor/internal/AvifSize.h"

#include <initializer_list>

namespace qloom {

namespace {
uint32_t ReadU32(std::string_view bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
}

// The payload of the first box of `type` among the boxes that fill `bytes`, or an empty view
// with `found` false. Boxes with a 64-bit length or "to the end" are handled; one that claims
// more than there is ends the search.
std::string_view FindBox(std::string_view bytes, std::string_view type, bool& found) {
    found = false;
    size_t at = 0;
    while (bytes.size() - at >= 8) {
        uint64_t length = ReadU32(bytes, at);
        size_t header = 8;
        if (length == 1) {
            if (bytes.size() - at < 16)
                return {};
            length = uint64_t(ReadU32(bytes, at + 8)) << 32 | ReadU32(bytes, at + 12);
            header = 16;
        } else if (length == 0) {
            length = bytes.size() - at;
        }
        if (length < header || length > bytes.size() - at)
            return {};
        if (bytes.substr(at + 4, 4) == type) {
            found = true;
            return bytes.substr(at + header, size_t(length) - header);
        }
        at += size_t(length);
    }
    return {};
}
} // namespace

bool ReadAvifSize(std::string_view head, PixelSize& size) {
    bool found = false;
    const std::string_view ftyp = FindBox(head, "ftyp", found);
    if (!found || ftyp.size() < 8)
        return false;
    // The major brand, then (after the minor version) the compatible brands.
    bool avif = false;
    for (size_t at = 0; at + 4 <= ftyp.size(); at += at == 0 ? 8 : 4) {
        const std::string_view brand = ftyp.substr(at, 4);
        avif = avif || brand == "avif" || brand == "avis";
    }
    if (!avif)
        return false;
    std::string_view meta = FindBox(head, "meta", found);
    if (!found || meta.size() < 4)
        return false;
    meta.remove_prefix(4); // version and flags
    std::string_view level = meta;
    for (std::string_view type : {"iprp", "ipco", "ispe"}) {
        level = FindBox(level, type, found);
        if (!found)
            return false;
    }
    // Version and flags, then width and height.
    if (level.size() < 12)
        return false;
    size.width = ReadU32(level, 4);
    size.height = ReadU32(level, 8);
    return size.width > 0 && size.height > 0;
}

} // namespace qloom
