// JPEG through libjpeg. Its errors end in longjmp, so the decoding function holds only
// plain C data between setjmp and the library calls; the pixels go to a malloc'd block
// that is freed on both paths.
#include "framework/Imaging.h"

#include "framework/SysUtils.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace qv {

namespace {

constexpr JDIMENSION kMaxSide = 32767;
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 25;

struct JpegError {
    jpeg_error_mgr Manager;  // first, so the library's pointer is also ours
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void JpegFail(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    error->Manager.format_message(info, error->Message);
    std::longjmp(error->Jump, 1);
}

// Ends the decoding with a message of ours: back to the setjmp in DecodeJpeg.
[[noreturn]] void JpegRefuse(JpegError* error, const char* message) {
    std::strcpy(error->Message, message);
    std::longjmp(error->Jump, 1);
}

// Warnings are silent, except a premature end of data: the library would pad the
// picture with grey, and a cut file is corrupt.
void JpegMessage(j_common_ptr info, int level) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    if (level < 0 && error->Manager.msg_code == JWRN_JPEG_EOF) JpegRefuse(error, "the file ends early");
}

void JpegNoOutput(j_common_ptr) {}

// Whether the scan data after the header can hold the picture it declares. Huffman
// coding spends at least one bit on every 8 x 8 block of every component (its DC value),
// so a few bytes cannot claim a large picture: such a file is refused before the
// decoder allocates its buffers. Arithmetic coding has no such floor.
bool CanHoldPicture(const jpeg_decompress_struct& info) {
    if (info.arith_code) return true;
    std::uint64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += static_cast<std::uint64_t>(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
    return blocks <= static_cast<std::uint64_t>(info.src->bytes_in_buffer) * 8;
}

// Library errors jump back with their message; its warnings and output stay silent.
void InstallErrorManager(jpeg_decompress_struct& info, JpegError* error) {
    info.err = jpeg_std_error(&error->Manager);
    error->Manager.error_exit = JpegFail;
    error->Manager.emit_message = JpegMessage;
    error->Manager.output_message = JpegNoOutput;
}

// Refuses a header whose picture is empty, too large, or larger than its data can hold.
void CheckJpegHeader(const jpeg_decompress_struct& info, JpegError* error) {
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxSide ||
        info.image_height > kMaxSide || static_cast<std::uint64_t>(info.image_width) * info.image_height > kMaxPixels)
        JpegRefuse(error, "invalid or too large dimensions");
    if (!CanHoldPicture(info)) JpegRefuse(error, "the file is too short for its picture size");
}

// A decoded row of R, G, B (or C, M, Y, K) samples into B, G, R bytes.
void ConvertJpegRow(const JSAMPLE* line, JDIMENSION width, bool cmyk, std::uint8_t* dst) noexcept {
    const std::size_t components = cmyk ? 4 : 3;
    for (JDIMENSION x = 0; x < width; ++x, dst += 3) {
        const JSAMPLE* s = line + static_cast<std::size_t>(x) * components;
        if (cmyk) {
            // Stored inverted, as the common writers do: each byte is 255 - ink, so
            // the channel is (stored C) * (stored K) / 255.
            const int k = s[3];
            dst[0] = static_cast<std::uint8_t>((s[2] * k + 127) / 255);
            dst[1] = static_cast<std::uint8_t>((s[1] * k + 127) / 255);
            dst[2] = static_cast<std::uint8_t>((s[0] * k + 127) / 255);
        } else {
            dst[0] = s[2];
            dst[1] = s[1];
            dst[2] = s[0];
        }
    }
}

// Decodes into a malloc'd block of width * height B, G, R pixels, top row first.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, JpegError* error, std::uint8_t** pixels, JDIMENSION* width,
                JDIMENSION* height) {
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    InstallErrorManager(info, error);
    std::uint8_t* volatile block = nullptr;
    JSAMPLE* volatile line = nullptr;
    if (setjmp(error->Jump)) {
        jpeg_destroy_decompress(&info);
        std::free(block);
        std::free(line);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    CheckJpegHeader(info, error);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    const JDIMENSION w = info.output_width, h = info.output_height;
    const int components = info.output_components;
    if (components != (cmyk ? 4 : 3)) JpegRefuse(error, "unexpected colour layout");
    block = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(w) * h * 3));
    line = static_cast<JSAMPLE*>(std::malloc(static_cast<std::size_t>(w) * static_cast<std::size_t>(components)));
    if (!block || !line) JpegRefuse(error, "out of memory");
    while (info.output_scanline < h) {
        const JDIMENSION y = info.output_scanline;
        JSAMPROW row = line;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) JpegRefuse(error, "the file ends early");
        ConvertJpegRow(line, w, cmyk, block + static_cast<std::size_t>(y) * w * 3);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::free(line);
    *pixels = block;
    *width = w;
    *height = h;
    return true;
}

}  // namespace

void LoadJPEG(const std::uint8_t* data, std::size_t size, TBitmap& out) {
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        throw EInvalidGraphic(L"Invalid JPEG image: not a JPEG file");
    // The library takes the size as unsigned long, which is 32 bits on 64-bit Windows.
    if (size > static_cast<std::size_t>(static_cast<unsigned long>(-1)))
        throw EInvalidGraphic(L"Invalid JPEG image: file too large");
    JpegError error{};
    std::uint8_t* pixels = nullptr;
    JDIMENSION width = 0, height = 0;
    if (!DecodeJpeg(data, size, &error, &pixels, &width, &height))
        throw EInvalidGraphic(L"Invalid JPEG image: " +
                              String(error.Message, error.Message + std::strlen(error.Message)));
    struct FreeBlock {
        std::uint8_t* P;
        explicit FreeBlock(std::uint8_t* p) noexcept : P(p) {}
        FreeBlock(const FreeBlock&) = delete;
        FreeBlock& operator=(const FreeBlock&) = delete;
        ~FreeBlock() { std::free(P); }
    } guard{pixels};
    TBitmap result(static_cast<int>(width), static_cast<int>(height), pf24bit);
    for (JDIMENSION y = 0; y < height; ++y)
        std::memcpy(result.ScanLine(static_cast<int>(y)), pixels + static_cast<std::size_t>(y) * width * 3,
                    static_cast<std::size_t>(width) * 3);
    out.TakeFrom(result);
}

}  // namespace qv
