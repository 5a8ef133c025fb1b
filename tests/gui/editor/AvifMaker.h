#pragma once

// The start of an AVIF file as encoders write it: the brand box, then the boxes that state the
// picture's size, then (cut short here) the picture data. Enough for every reader of the size;
// no decoder is needed, and Debian 12's Qt has none.

#include <cstdint>
#include <string>

namespace qloom::testpics {

inline std::string U32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

inline std::string Box(const std::string& type, const std::string& payload) {
    return U32(uint32_t(8 + payload.size())) + type + payload;
}

inline std::string AvifHead(const std::string& brand, uint32_t width, uint32_t height) {
    const std::string versionFlags(4, '\0');
    const std::string ispe = Box("ispe", versionFlags + U32(width) + U32(height));
    const std::string ipco = Box("ipco", Box("colr", "nclx0000000") + ispe);
    const std::string meta =
        Box("meta", versionFlags + Box("hdlr", std::string(21, '\0')) + Box("iprp", ipco));
    return Box("ftyp", brand + U32(0) + "mif1miaf") + meta + Box("mdat", "xxxx");
}

} // namespace qloom::testpics
