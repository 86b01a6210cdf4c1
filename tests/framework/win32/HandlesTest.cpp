// The handle owners release exactly once, never after a move, and reset releases the
// old handle. Counting traits stand in for the system calls.
#include "framework/win32/ComHandles.h"
#include "framework/win32/Handles.h"
#include "framework/win32/KernelHandles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv {
namespace {

std::vector<int> gClosed;
struct CountingTraits {
    static void Close(int h) noexcept { gClosed.push_back(h); }
};
using CountedHandle = UniqueHandle<int, CountingTraits>;
// A handle kind whose "none" is -1, as INVALID_HANDLE_VALUE is for files.
struct CountingMinusOneTraits {
    static int Invalid() noexcept { return -1; }
    static void Close(int h) noexcept { gClosed.push_back(h); }
};
using CountedMinusOneHandle = UniqueHandle<int, CountingMinusOneTraits>;

// A COM object that counts its references; it is never deleted (it lives on the stack).
class CountedObject : public IUnknown {
public:
    ULONG Refs = 1;
    int Releases = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++Releases;
        return --Refs;
    }
};

struct Released {
    HWND Wnd;
    HDC DC;
};
std::vector<Released> gReleasedDCs;
struct CountingDCTraits {
    static HDC Get(HWND wnd) noexcept { return reinterpret_cast<HDC>(reinterpret_cast<UINT_PTR>(wnd) + 1000); }
    static void Release(HWND wnd, HDC dc) noexcept { gReleasedDCs.push_back({wnd, dc}); }
};

int gBegins = 0, gEnds = 0;
HWND gEndWnd = nullptr;
struct CountingPaintTraits {
    static HDC Begin(HWND, PAINTSTRUCT& ps) noexcept {
        ++gBegins;
        ps.hdc = reinterpret_cast<HDC>(7);
        return ps.hdc;
    }
    static void End(HWND wnd, const PAINTSTRUCT&) noexcept {
        ++gEnds;
        gEndWnd = wnd;
    }
};

std::vector<std::pair<HDC, HGDIOBJ>> gSelects;
struct CountingSelectTraits {
    static HGDIOBJ Select(HDC dc, HGDIOBJ obj) noexcept {
        gSelects.push_back({dc, obj});
        return reinterpret_cast<HGDIOBJ>(0x55);  // the DC's previous object
    }
};

class HandleOwners : public ::testing::Test {
protected:
    void SetUp() override {
        gClosed.clear();
        gReleasedDCs.clear();
        gBegins = gEnds = 0;
        gEndWnd = nullptr;
        gSelects.clear();
    }
};

TEST_F(HandleOwners, UniqueHandleReleasesOnceAndNotAfterMove) {
    {
        CountedHandle a(5);
        CountedHandle b(std::move(a));
        EXPECT_EQ(a.get(), 0);
        EXPECT_EQ(b.get(), 5);
        CountedHandle c;
        c = std::move(b);
        EXPECT_TRUE(gClosed.empty());
    }
    EXPECT_EQ(gClosed, std::vector<int>{5});
}

TEST_F(HandleOwners, ResetReleasesTheOldHandleAndReleaseGivesItUp) {
    CountedHandle a(1);
    a.reset(2);
    EXPECT_EQ(gClosed, std::vector<int>{1});
    a.reset(2);  // the same handle again is not closed
    EXPECT_EQ(gClosed.size(), 1u);
    EXPECT_EQ(a.release(), 2);
    a.reset();
    EXPECT_EQ(gClosed.size(), 1u);
    CountedHandle b(3), d(4);
    b = std::move(d);  // the target's old handle goes
    EXPECT_EQ(gClosed, (std::vector<int>{1, 3}));
}

// A handle kind with a failure value of its own: that value is "none", so it is neither
// closed nor true, and a null handle is a real one.
TEST_F(HandleOwners, OwnerWithItsOwnFailureValueNeverClosesIt) {
    {
        CountedMinusOneHandle none;
        EXPECT_FALSE(none);
        EXPECT_EQ(none.get(), -1);
        CountedMinusOneHandle failed(-1);
        EXPECT_FALSE(failed);
        CountedMinusOneHandle zero(0);
        EXPECT_TRUE(zero);
        CountedMinusOneHandle moved(std::move(zero));
        EXPECT_EQ(zero.get(), -1);
        failed.reset(7);
        failed.reset();
        EXPECT_EQ(failed.release(), -1);
    }
    EXPECT_EQ(gClosed, (std::vector<int>{7, 0}));
}

// The kernel owners on real handles: each closes its handle with the matching call, and
// a failed CreateFile or FindFirstFile (INVALID_HANDLE_VALUE) is no handle.
TEST_F(HandleOwners, KernelOwnersCloseRealHandles) {
    wchar_t folder[MAX_PATH]{};
    ASSERT_TRUE(::GetTempPathW(MAX_PATH, folder));
    const std::wstring name = std::wstring(folder) + L"quorvel-handles-" + std::to_wstring(::GetCurrentProcessId());
    HANDLE file, process;
    {
        const UniqueFile created(
            ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(created);
        file = created.get();
        WIN32_FIND_DATAW data{};
        const UniqueFind found(::FindFirstFileW(name.c_str(), &data));
        EXPECT_TRUE(found);
        const UniqueProcess self(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ::GetCurrentProcessId()));
        ASSERT_TRUE(self);
        process = self.get();
        DWORD flags = 0;
        EXPECT_TRUE(::GetHandleInformation(file, &flags));
    }
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(file, &flags)) << "file still open after its owner ended";
    EXPECT_FALSE(::GetHandleInformation(process, &flags)) << "process handle still open after its owner ended";
    EXPECT_TRUE(::DeleteFileW(name.c_str())) << "the file's owner must have closed it";
    const UniqueFile missing(::CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    WIN32_FIND_DATAW data{};
    const UniqueFind nothing(::FindFirstFileW(name.c_str(), &data));
    EXPECT_FALSE(nothing);
}

// A menu's owner destroys it; a COM reference is released exactly once however it is
// moved, and put() and reset() give up the reference held before; the task allocator's
// owner frees its block.
TEST_F(HandleOwners, MenuMemoryAndComOwnersReleaseWhatTheyHold) {
    HMENU raw;
    {
        const UniqueMenu menu(::CreatePopupMenu());
        raw = menu.get();
        EXPECT_TRUE(::IsMenu(raw));
    }
    EXPECT_FALSE(::IsMenu(raw)) << "menu still alive after its owner ended";

    CountedObject object, other;
    {
        ComRef<IUnknown> a(&object);
        ComRef<IUnknown> b(std::move(a));
        EXPECT_FALSE(a);
        ComRef<IUnknown> c;
        c = std::move(b);
        EXPECT_EQ(object.Releases, 0);
        c.reset(&other);
        EXPECT_EQ(object.Releases, 1);
        *c.put() = &object;
        EXPECT_EQ(other.Releases, 1);
        object.AddRef();
    }
    EXPECT_EQ(object.Releases, 2);
    EXPECT_EQ(object.Refs, 0u);
    EXPECT_EQ(other.Refs, 0u);

    IMalloc* taskAllocator = nullptr;
    ASSERT_EQ(::CoGetMalloc(1, &taskAllocator), S_OK);
    const ComRef<IMalloc> allocator(taskAllocator);
    void* block;
    {
        const UniqueCoTaskMem<wchar_t> text(static_cast<wchar_t*>(::CoTaskMemAlloc(64)));
        block = text.get();
        if (allocator->DidAlloc(block) != 1) GTEST_SKIP() << "the allocator cannot tell its own blocks";
    }
    EXPECT_EQ(allocator->DidAlloc(block), 0) << "block still allocated after its owner ended";
}

TEST_F(HandleOwners, WindowDCReleasesWithTheWindowItCameFrom) {
    auto wnd = reinterpret_cast<HWND>(0x40);
    {
        BasicWindowDC<CountingDCTraits> dc(wnd);
        BasicWindowDC<CountingDCTraits> moved(std::move(dc));
        EXPECT_FALSE(dc);
        EXPECT_EQ(moved.window(), wnd);
    }
    ASSERT_EQ(gReleasedDCs.size(), 1u);
    EXPECT_EQ(gReleasedDCs[0].Wnd, wnd);
    EXPECT_EQ(gReleasedDCs[0].DC, reinterpret_cast<HDC>(0x40 + 1000));
}

TEST_F(HandleOwners, PaintScopeEndsWhatItBegan) {
    auto wnd = reinterpret_cast<HWND>(0x44);
    {
        BasicPaintScope<CountingPaintTraits> paint(wnd);
        EXPECT_EQ(paint.dc(), reinterpret_cast<HDC>(7));
        EXPECT_EQ(gEnds, 0);
    }
    EXPECT_EQ(gBegins, 1);
    EXPECT_EQ(gEnds, 1);
    EXPECT_EQ(gEndWnd, wnd);
}

TEST_F(HandleOwners, SelectScopePutsTheOldObjectBackAndDeletesNothing) {
    auto dc = reinterpret_cast<HDC>(0x10);
    auto font = reinterpret_cast<HGDIOBJ>(0x20);
    { BasicSelectScope<CountingSelectTraits> select(dc, font); }
    ASSERT_EQ(gSelects.size(), 2u);
    EXPECT_EQ(gSelects[0].second, font);
    EXPECT_EQ(gSelects[1].first, dc);
    EXPECT_EQ(gSelects[1].second, reinterpret_cast<HGDIOBJ>(0x55));
    EXPECT_TRUE(gClosed.empty());
}

// On a real window: a paint handler given a DC draws on it and leaves the update
// region alone; without one, BeginPaint's scope ends the paint and validates it.
TEST_F(HandleOwners, MessagePaintDCBeginsOnlyWithoutAGivenDC) {
    HWND wnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr, nullptr,
                                 nullptr);
    ASSERT_TRUE(wnd);
    ::InvalidateRect(wnd, nullptr, FALSE);
    {
        const WholeWindowDC given(wnd);
        ASSERT_TRUE(given);
        const MessagePaintDC paint(wnd, given.get());
        EXPECT_EQ(paint.dc(), given.get());
        EXPECT_FALSE(paint.began());
    }
    EXPECT_TRUE(::GetUpdateRect(wnd, nullptr, FALSE)) << "a given DC must not end the pending paint";
    {
        const MessagePaintDC paint(wnd, nullptr);
        EXPECT_TRUE(paint.began());
        EXPECT_NE(paint.dc(), nullptr);
    }
    EXPECT_FALSE(::GetUpdateRect(wnd, nullptr, FALSE)) << "the paint began here must end with the scope";
    ::DestroyWindow(wnd);
}

TEST_F(HandleOwners, RealGdiObjectIsDeletedByItsOwner) {
    HBRUSH raw;
    {
        UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
        raw = brush.get();
        LOGBRUSH lb{};
        EXPECT_EQ(::GetObjectW(raw, sizeof lb, &lb), static_cast<int>(sizeof lb));
    }
    LOGBRUSH lb{};
    EXPECT_EQ(::GetObjectW(raw, sizeof lb, &lb), 0) << "brush still alive after its owner ended";
}

}  // namespace
}  // namespace qv
