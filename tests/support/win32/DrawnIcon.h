// An icon drawn at its own size over white and read back, and the two colours of the
// program's icon (the amber Q on its charcoal tile), for the tests that check which icon a
// window or the program file shows.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace qv::test {

class DrawnIcon {
public:
    DrawnIcon(HICON icon, int size);
    bool Drawn() const noexcept { return FDrawn; }
    // 0x00RRGGBB at (x, y), top row first.
    DWORD At(int x, int y) const { return FPixels[static_cast<std::size_t>(y * FSize + x)] & 0xFFFFFF; }
    // Whether some pixel (as 0x00RRGGBB) satisfies is.
    bool Shows(const std::function<bool(DWORD)>& is) const;

private:
    int FSize;
    bool FDrawn = false;
    std::vector<DWORD> FPixels;
};

bool IsAmber(DWORD rgb);
bool IsCharcoal(DWORD rgb);

}  // namespace qv::test
