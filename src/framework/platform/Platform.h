// What the framework's portable core asks of the system it runs on, beyond the public
// functions it declares in its own headers. Each system has its own twin of these
// functions (platform/win32/ and platform/posix/); src/CMakeLists.txt builds the one
// for the target. Portable: no <windows.h>.
#pragma once
#include "framework/Bitmap.h"
#include "framework/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv::platform {

// ---- file names ----
bool IsPathSeparator(wchar_t c) noexcept;   // "\" and "/" on Windows, "/" elsewhere
bool IsDriveSeparator(wchar_t c) noexcept;  // ":" after a drive letter on Windows; none elsewhere

// ---- files ----
// Creates one folder whose parent exists; true when the folder exists afterwards.
bool CreateOneDirectory(const String& directory);
// The full file name of the running program; empty when unknown.
String ProgramFileName();
// The system's text for an error code as the system gives it.
String SystemErrorText(int errorCode);
// "Cannot open file "<name>". <reason>" (or "create"): the text of a stream's open errors.
String FileOpenErrorMessage(const String& fileName, bool create, int errorCode);

// ---- bitmap pixels ----
// A bitmap's pixel block: on Windows a DIB section (Handle) and its bits, elsewhere a
// plain memory block (no handle).
struct TPixelBlock {
    BitmapHandle Handle = nullptr;
    std::uint8_t* Bits = nullptr;
};
using TPalette = std::array<std::uint32_t, 256>;
// A bottom-up block of width x height pixels of bitsPerPixel bits (bytes in all, rows
// DWORD-aligned); 8-bit blocks start with palette. Zeroed when clear is set, otherwise
// as the allocator gives it. Throws EOutOfResources when the system refuses.
TPixelBlock AllocatePixels(int width, int height, int bitsPerPixel, std::size_t bytes, const TPalette& palette,
                           bool clear);
void FreePixels(const TPixelBlock& block) noexcept;
// Gives an 8-bit block's own colour table the palette (where the system keeps one).
void SetPixelPalette(const TPixelBlock& block, const TPalette& palette) noexcept;

}  // namespace qv::platform
