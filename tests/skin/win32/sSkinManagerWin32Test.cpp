// The skin manager on Windows: the default manager, the new skin announced to every form
// from Loaded (with drawing restricted while it is delivered), the removal announced on
// destruction, and a corrupt pack reported in the error box while the old skin stays.
#include "skin/win32/sSkinManager.h"

#include "framework/win32/Application.h"
#include "../ManagerTestUtils.h"
#include "RecordingControls.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::Log;
using test::TRecForm;
using test::TRecGraphic;

const String kInternal = L"Android OS (internal)";

// Presses OK on the thread's message box and keeps its text.
struct MessageBoxAnswerer {
    static inline std::vector<String> Texts;
    static BOOL CALLBACK CollectStatic(HWND child, LPARAM lParam) {
        wchar_t cls[32]{}, text[512]{};
        ::GetClassNameW(child, cls, 32);
        if (lstrcmpiW(cls, L"Static") == 0 && ::GetWindowTextW(child, text, 512) > 0)
            reinterpret_cast<String*>(lParam)->append(text);
        return TRUE;
    }
    static BOOL CALLBACK FindBox(HWND wnd, LPARAM) {
        wchar_t cls[16]{};
        ::GetClassNameW(wnd, cls, 16);
        if (lstrcmpW(cls, L"#32770") != 0 || !::IsWindowVisible(wnd)) return TRUE;
        String text;
        ::EnumChildWindows(wnd, &CollectStatic, reinterpret_cast<LPARAM>(&text));
        Texts.push_back(text);
        ::PostMessageW(wnd, WM_COMMAND, IDOK, 0);
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) { ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, 0); }
    MessageBoxAnswerer() {
        Texts.clear();
        FTimer = ::SetTimer(nullptr, 0, 50, &Tick);
    }
    ~MessageBoxAnswerer() { ::KillTimer(nullptr, FTimer); }
    UINT_PTR FTimer;
};

class ManagerWin32Test : public ::testing::Test {
protected:
    void SetUp() override {
        Log().clear();
        form.reset(NewForm<TRecForm>(&Application(), "form"));
        child = new TRecGraphic(form.get(), "child");
        child->SetParent(form.get());
    }
    void TearDown() override {
        form.reset();
        Log().clear();
    }
    // A manager read as a form description would create it.
    TsSkinManager* ReadManager(const String& skinName) {
        auto* m = new TsSkinManager(form.get());
        m->BeginLoading();
        test::AddInternalSkin(*m, kInternal, test::ManagerSkinPack("$00010203"));
        m->SetSkinDirectory(dir.Path());
        m->SetSkinName(skinName);
        return m;
    }
    test::TempSkinDir dir;
    std::unique_ptr<TRecForm> form;
    TRecGraphic* child = nullptr;
};

TEST_F(ManagerWin32Test, LoadedAnnouncesTheSkinAndDestructionRemovesIt) {
    ASSERT_EQ(DefaultManager, nullptr);
    TsSkinManager* m = ReadManager(kInternal);
    EXPECT_EQ(DefaultManager, m);
    EXPECT_TRUE(m->IsDefault());
    EXPECT_EQ(m->gd.size(), 4u);
    EXPECT_TRUE(Log().empty());  // nothing announced while the description is read
    m->EndReading();
    static_cast<TComponent*>(m)->Loaded();
    EXPECT_EQ(Log(), (std::vector<std::string>{"form:1", "child:1"}));
    EXPECT_EQ(child->LastLParam, reinterpret_cast<LPARAM>(m));
    EXPECT_TRUE(child->RestrictDrawingSeen);
    EXPECT_FALSE(RestrictDrawing);
    EXPECT_TRUE(m->SkinData.Active);
    EXPECT_EQ(m->ma.empty() ? nullptr : m->ma[0].Owner, static_cast<const TacSkinSource*>(m));

    // Another manager does not take the default role unless told so.
    auto* second = new TsSkinManager(form.get());
    EXPECT_FALSE(second->IsDefault());
    delete second;

    Log().clear();
    delete m;
    EXPECT_EQ(DefaultManager, nullptr);
    // Removal first, then nothing else.
    ASSERT_GE(Log().size(), 2u);
    EXPECT_EQ(Log()[0], "form:2");
    EXPECT_EQ(Log()[1], "child:2");
}

TEST_F(ManagerWin32Test, CorruptPackShowsTheErrorBoxAndKeepsTheSkin) {
    TsSkinManager* m = ReadManager(kInternal);
    m->EndReading();
    static_cast<TComponent*>(m)->Loaded();
    std::vector<std::uint8_t> bad = test::ManagerSkinPack("$00FFFFFF");
    bad[1] = 'v';
    dir.WriteFile("Broken.cvz", bad);
    Log().clear();
    {
        MessageBoxAnswerer answerer;
        m->SetSkinName(L"Broken.cvz");
        ASSERT_EQ(MessageBoxAnswerer::Texts.size(), 1u);
        EXPECT_NE(MessageBoxAnswerer::Texts[0].find(L"Loaded data is not a packed Corvane file"), String::npos);
    }
    EXPECT_EQ(m->SkinName(), kInternal);
    EXPECT_EQ(test::SectionColor(*m, L"BUTTON"), 0x010203);
    // The kept skin is announced again and the program goes on.
    // New skin, then the repaint: fading stopped, then refreshed.
    EXPECT_EQ(Log(), (std::vector<std::string>{"form:1", "child:1", "form:16", "child:16", "form:3", "child:3"}));
    delete m;
}

}  // namespace
}  // namespace qv
