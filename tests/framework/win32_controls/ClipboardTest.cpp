// The clipboard object against the real system clipboard.
#include "framework/win32/Clipbrd.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

using namespace qv;

namespace {

// Text as another program would read it: straight from the system clipboard.
String ReadClipboardDirectly() {
    if (!::OpenClipboard(nullptr)) return L"<cannot open>";
    String text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void WriteClipboardDirectly(const String& text) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(block);
    ASSERT_NE(::SetClipboardData(CF_UNICODETEXT, block), nullptr);
    ::CloseClipboard();
}

// Holds the clipboard open from a second thread (as another program would) until told
// to let go, or for releaseAfterMs milliseconds when that is not negative.
class ClipboardHolder {
public:
    explicit ClipboardHolder(int releaseAfterMs = -1) {
        FThread = std::thread([this, releaseAfterMs] {
            FHolding = ::OpenClipboard(nullptr) != FALSE;
            FReady = true;
            const ULONGLONG start = ::GetTickCount64();
            while (!FRelease &&
                   (releaseAfterMs < 0 || ::GetTickCount64() - start < static_cast<ULONGLONG>(releaseAfterMs)))
                ::Sleep(1);
            if (FHolding) ::CloseClipboard();
        });
        while (!FReady) ::Sleep(1);
    }
    ~ClipboardHolder() { Release(); }
    bool Holding() const { return FHolding; }
    void Release() {
        FRelease = true;
        if (FThread.joinable()) FThread.join();
    }

private:
    std::thread FThread;
    std::atomic<bool> FReady{false}, FRelease{false}, FHolding{false};
};

}  // namespace

TEST(Clipboard, TextRoundTripsThroughTheSystemClipboardAsUnicode) {
    // Latin accents, CJK, the euro sign and a character outside the BMP (a surrogate pair).
    const String text = L"C:\\D\u00e4ten\\\u6587\u4ef6 \u20ac \U0001F600.txt";
    Clipboard().SetAsText(text);
    EXPECT_EQ(ReadClipboardDirectly(), text);
    EXPECT_EQ(Clipboard().AsText(), text);
    EXPECT_TRUE(Clipboard().HasFormat(CF_UNICODETEXT));

    WriteClipboardDirectly(L"from another program \u0416");
    EXPECT_EQ(Clipboard().AsText(), L"from another program \u0416");

    Clipboard().SetAsText(L"");
    EXPECT_EQ(ReadClipboardDirectly(), L"");
    EXPECT_EQ(Clipboard().AsText(), L"");
}

TEST(Clipboard, NestedOpenKeepsTheClipboardUntilTheLastClose) {
    TClipboard clipboard;
    clipboard.Open();
    clipboard.SetAsText(L"inside");  // opens once more and closes once
    // Still ours: another opener is refused until the outer Close.
    std::atomic<bool> othersOpened{true};
    std::thread([&] {
        othersOpened = ::OpenClipboard(nullptr) != FALSE;
        if (othersOpened) ::CloseClipboard();
    }).join();
    EXPECT_FALSE(othersOpened);
    clipboard.Close();
    EXPECT_EQ(ReadClipboardDirectly(), L"inside");
}

TEST(Clipboard, HeldByAnotherWindowThrowsAndLosesNothing) {
    Clipboard().SetAsText(L"before");
    TClipboard clipboard;
    clipboard.OpenAttempts = 3;
    clipboard.RetryDelayMs = 1;
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Holding());
        try {
            clipboard.SetAsText(L"after");
            FAIL() << "SetAsText succeeded while another window held the clipboard";
        } catch (const EClipboardException& e) {
            const String prefix = L"Cannot open clipboard: ";
            EXPECT_EQ(e.Message().substr(0, prefix.size()), prefix);
            EXPECT_GT(e.Message().size(), prefix.size()) << "no system error text";
        }
        EXPECT_THROW(clipboard.AsText(), EClipboardException);
    }
    // The failed call left nothing open and changed nothing.
    EXPECT_EQ(ReadClipboardDirectly(), L"before");
    clipboard.SetAsText(L"after");
    EXPECT_EQ(ReadClipboardDirectly(), L"after");
}

TEST(Clipboard, OpenWaitsForABriefHolderToLetGo) {
    TClipboard clipboard;
    clipboard.OpenAttempts = 500;  // a generous window; the holder lets go after ~30 ms
    clipboard.RetryDelayMs = 10;
    ClipboardHolder holder(30);
    ASSERT_TRUE(holder.Holding());
    EXPECT_NO_THROW(clipboard.SetAsText(L"waited"));
    holder.Release();
    EXPECT_EQ(ReadClipboardDirectly(), L"waited");
}
