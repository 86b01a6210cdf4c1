// The system's colours and frame metrics, as the running Windows gives them.
#include "framework/Types.h"

#include <windows.h>

namespace qv {

std::uint32_t SysColorRGB(int index) noexcept {
    if (index < 0 || index > 30) return 0;
    return static_cast<std::uint32_t>(::GetSysColor(index));
}

int SysSizingFrameWidth() noexcept { return ::GetSystemMetrics(SM_CXSIZEFRAME); }

}  // namespace qv
