// PNG through libpng. libpng reports errors by longjmp, so everything between setjmp
// and the calls that may jump is plain C data: no C++ object with a destructor lives in
// those frames, and the buffers are malloc'd and freed on both paths.
#include "framework/Imaging.h"

#include "framework/SysUtils.h"

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace qv {

namespace {

constexpr png_uint_32 kMaxSide = 32767;
constexpr std::uint64_t kMaxPixels = std::uint64_t(1) << 25;
// Ancillary chunks (text, colour profiles) are read whole before the picture: one may
// declare any length up to 2 GB, so their size and number are capped. A skin's images
// carry at most a few small ones.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
constexpr png_uint_32 kMaxAncillaryChunks = 1000;
// The reader's own blocks (rows, chunk buffers, inflate state) stay far below this; the
// picture's pixels are allocated outside it. The chunk limit above only makes the reader
// warn about an oversized ancillary chunk and try to allocate it anyway, so the refusal
// is here: a request over the cap fails as out of memory and the chunk is skipped.
constexpr png_alloc_size_t kMaxReaderBlock = 16u << 20;

png_voidp CappedMalloc(png_structp, png_alloc_size_t size) {
    return size <= kMaxReaderBlock ? std::malloc(size) : nullptr;
}

void PlainFree(png_structp, png_voidp block) { std::free(block); }

// Room for the message of a failed read or write.
constexpr std::size_t kErrorLength = 200;

// Both directions give libpng their message buffer (kErrorLength characters) as its
// error pointer: the message is kept there and the call jumps back to its setjmp.
void PngFail(png_structp png, png_const_charp message) {
    auto* error = static_cast<char*>(png_get_error_ptr(png));
    std::strncpy(error, message ? message : "unknown error", kErrorLength - 1);
    error[kErrorLength - 1] = '\0';
    png_longjmp(png, 1);
}

struct PngJob {
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Position;
    char Error[kErrorLength];
};

void PngWarn(png_structp, png_const_charp) {}

void PngReadMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (job->Size - job->Position < count) png_error(png, "the file ends early");
    std::memcpy(out, job->Data + job->Position, count);
    job->Position += count;
}

// Whether the rest of the file (from the first image data chunk on) can inflate to the
// picture the header declares. Deflate packs at most 1032 bytes into one, so a few bytes
// cannot claim a large picture: such a file is refused before its pixels are allocated.
bool CanHoldPicture(const PngJob* job, png_structp png, png_infop info) {
    const std::uint64_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    const std::uint64_t bits = static_cast<std::uint64_t>(png_get_channels(png, info)) * png_get_bit_depth(png, info);
    // Non-interlaced rows carry a filter byte each; interlaced passes at least every pixel.
    const std::uint64_t raw = png_get_interlace_type(png, info) == PNG_INTERLACE_NONE ? h * (1 + (w * bits + 7) / 8)
                                                                                      : w * h * bits / 8;
    const std::uint64_t left = job->Size - job->Position;
    return raw <= (left + 1) * 1032;
}

// Decodes into a malloc'd block of width * height B, G, R, A pixels, top row first.
// Returns false with job->Error filled on any failure.
bool DecodePng(PngJob* job, std::uint8_t** pixels, png_uint_32* width, png_uint_32* height) {
    png_structp png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, job->Error, PngFail, PngWarn, nullptr,
                                               CappedMalloc, PlainFree);
    if (!png) {
        std::strcpy(job->Error, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    std::uint8_t* volatile block = nullptr;
    png_bytep* volatile rows = nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        if (!info) std::strcpy(job->Error, "out of memory");
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        std::free(block);
        std::free(rows);
        return false;
    }
    png_set_read_fn(png, job, PngReadMemory);
    png_set_user_limits(png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxAncillaryChunks);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    if (static_cast<std::uint64_t>(w) * h > kMaxPixels) png_error(png, "the picture is too large");
    if (!CanHoldPicture(job, png, info)) png_error(png, "the file is too short for its picture size");
    const int colorType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);

    // Everything becomes 8-bit B, G, R, A with the stored (straight) values; no gamma
    // or colour-space conversion is applied.
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(w) * 4) png_error(png, "unexpected row layout");

    block = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(w) * h * 4));
    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * h));
    if (!block || !rows) png_error(png, "out of memory");
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = block + static_cast<std::size_t>(y) * w * 4;
    png_read_image(png, rows);
    png_read_end(png, nullptr);

    png_destroy_read_struct(&png, &info, nullptr);
    std::free(rows);
    *pixels = block;
    *width = w;
    *height = h;
    return true;
}

struct PngOutput {
    std::vector<std::uint8_t>* Bytes;
    char Error[kErrorLength];
};

void PngWriteMemory(png_structp png, png_bytep data, png_size_t count) {
    auto* output = static_cast<PngOutput*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        output->Bytes->insert(output->Bytes->end(), data, data + count);
    } catch (...) {
        failed = true;  // the jump happens outside the handler
    }
    if (failed) png_error(png, "out of memory");
}

void PngFlush(png_structp) {}

// rows: one pointer per row, top first; colorType RGB/RGBA rows are B, G, R(, A).
bool EncodePng(PngOutput* output, png_bytep* rows, png_uint_32 width, png_uint_32 height, int colorType,
               const png_color* palette, int paletteSize) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, output->Error, PngFail, PngWarn);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_set_write_fn(png, output, PngWriteMemory, PngFlush);
    png_set_IHDR(png, info, width, height, 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, paletteSize);
    png_write_info(png, info);
    if (colorType != PNG_COLOR_TYPE_PALETTE) png_set_bgr(png);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

void LoadPNG(const std::uint8_t* data, std::size_t size, TBitmap& out) {
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) throw EInvalidGraphic(L"Invalid PNG image: not a PNG file");
    PngJob job{data, size, 0, {}};
    std::uint8_t* pixels = nullptr;
    png_uint_32 width = 0, height = 0;
    if (!DecodePng(&job, &pixels, &width, &height)) {
        throw EInvalidGraphic(L"Invalid PNG image: " + String(job.Error, job.Error + std::strlen(job.Error)));
    }
    struct FreeBlock {
        std::uint8_t* P;
        explicit FreeBlock(std::uint8_t* p) noexcept : P(p) {}
        FreeBlock(const FreeBlock&) = delete;
        FreeBlock& operator=(const FreeBlock&) = delete;
        ~FreeBlock() { std::free(P); }
    } guard{pixels};
    TBitmap result(static_cast<int>(width), static_cast<int>(height), pf32bit, TBitmap::TUncleared{});
    for (png_uint_32 y = 0; y < height; ++y)
        std::memcpy(result.ScanLine(static_cast<int>(y)), pixels + static_cast<std::size_t>(y) * width * 4,
                    static_cast<std::size_t>(width) * 4);
    out.TakeFrom(result);
}

std::vector<std::uint8_t> SavePNG(const TBitmap& bitmap) {
    const int bits = bitmap.BitsPerPixel();
    if (bitmap.Empty()) throw EInvalidGraphic(L"Cannot save an empty bitmap as PNG");
    if (bits != 8 && bits != 24 && bits != 32) throw EInvalidGraphic(L"Cannot save this bitmap format as PNG");
    std::vector<png_bytep> rows(static_cast<std::size_t>(bitmap.Height()));
    for (int y = 0; y < bitmap.Height(); ++y)
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(bitmap.ScanLine(y));
    png_color palette[256];
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t e = bitmap.Palette()[static_cast<std::size_t>(i)];
        palette[i] = png_color{static_cast<png_byte>(e >> 16), static_cast<png_byte>(e >> 8), static_cast<png_byte>(e)};
    }
    const int colorType = bits == 32   ? PNG_COLOR_TYPE_RGB_ALPHA
                          : bits == 24 ? PNG_COLOR_TYPE_RGB
                                       : PNG_COLOR_TYPE_PALETTE;
    std::vector<std::uint8_t> bytes;
    PngOutput output{&bytes, {}};
    if (!EncodePng(&output, rows.data(), static_cast<png_uint_32>(bitmap.Width()),
                   static_cast<png_uint_32>(bitmap.Height()), colorType, palette, 256))
        throw EInvalidGraphic(L"Cannot write PNG: " + String(output.Error, output.Error + std::strlen(output.Error)));
    return bytes;
}

}  // namespace qv
