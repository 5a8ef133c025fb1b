#include "gui/editor/internal/JpegDecoder.h"

#include "script/FileIo.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace qloom {

namespace {

constexpr size_t kMaxFileBytes = 256u * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

// libjpeg's own error_exit ends the process; jump back to the decoder instead.
void ErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    manager->pub.format_message(info, manager->text);
    std::longjmp(manager->jump, 1);
}

// Warnings are ignored except the one for data that ends early: libjpeg would pad the picture
// with grey and report success, but a cut-off file is no picture to show.
void EmitMessage(j_common_ptr info, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && manager->pub.msg_code == JWRN_JPEG_EOF) {
        manager->pub.format_message(info, manager->text);
        std::longjmp(manager->jump, 1);
    }
}

void OutputMessage(j_common_ptr) {}

// Everything that lives across setjmp is kept outside the function that calls it.
struct DecodeState {
    jpeg_decompress_struct info;
    ErrorManager err;
    bool created = false;
    std::vector<uint8_t> row;
};

bool Run(DecodeState& st, const uint8_t* data, size_t size, DecodedImage& out) {
    st.info.err = jpeg_std_error(&st.err.pub);
    st.err.pub.error_exit = ErrorExit;
    st.err.pub.emit_message = EmitMessage;
    st.err.pub.output_message = OutputMessage;
    st.err.text[0] = '\0';
    if (setjmp(st.err.jump))
        return false;

    jpeg_create_decompress(&st.info);
    st.created = true;
    jpeg_mem_src(&st.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&st.info, TRUE);

    const bool cmyk = st.info.jpeg_color_space == JCS_CMYK || st.info.jpeg_color_space == JCS_YCCK;
    st.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_calc_output_dimensions(&st.info);
    const uint64_t pixels = uint64_t(st.info.output_width) * st.info.output_height;
    if (pixels == 0 || pixels > JpegDecoder::kMaxPixels) {
        std::snprintf(st.err.text, sizeof st.err.text, "picture too large");
        return false;
    }
    jpeg_start_decompress(&st.info);

    const unsigned width = st.info.output_width;
    const int components = st.info.output_components;
    out.width = int(width);
    out.height = int(st.info.output_height);
    out.rgb.assign(size_t(pixels) * 3, 0);
    st.row.assign(size_t(width) * size_t(components), 0);
    // Adobe writes CMYK inverted; without its marker the values are taken as they stand.
    const bool inverted = cmyk && st.info.saw_Adobe_marker;
    while (st.info.output_scanline < st.info.output_height) {
        const size_t y = st.info.output_scanline;
        JSAMPROW rowPointer = st.row.data();
        jpeg_read_scanlines(&st.info, &rowPointer, 1);
        uint8_t* dst = out.rgb.data() + y * width * 3;
        if (!cmyk) {
            std::copy(st.row.begin(), st.row.begin() + width * 3, dst);
            continue;
        }
        for (unsigned x = 0; x < width; ++x) {
            const uint8_t* p = &st.row[size_t(x) * 4];
            for (int c = 0; c < 3; ++c) {
                const unsigned v = inverted ? p[c] : 255u - p[c];
                const unsigned k = inverted ? p[3] : 255u - p[3];
                dst[x * 3 + c] = uint8_t(v * k / 255u);
            }
        }
    }
    jpeg_finish_decompress(&st.info);
    return true;
}

} // namespace

Expected<DecodedImage> JpegDecoder::decode(const uint8_t* data, size_t size) {
    if (data == nullptr || size < 4)
        return Status::failure("not a JPEG file");
    auto st = std::make_unique<DecodeState>();
    DecodedImage out;
    const bool ok = Run(*st, data, size, out);
    if (st->created)
        jpeg_destroy_decompress(&st->info);
    if (!ok)
        return Status::failure(st->err.text);
    return out;
}

Expected<DecodedImage> JpegDecoder::decodeFile(const std::string& path) {
    std::string bytes;
    if (Status read = ReadWholeFile(path, bytes); !read)
        return read;
    if (bytes.size() > kMaxFileBytes) {
        Status tooLarge = Status::failure("file too large");
        tooLarge.file = path;
        return tooLarge;
    }
    Expected<DecodedImage> decoded =
        decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (!decoded) {
        Status failed = decoded.status();
        failed.file = path;
        return failed;
    }
    return decoded;
}

} // namespace qloom
