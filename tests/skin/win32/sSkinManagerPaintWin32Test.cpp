// The Windows manager as the painting routines' source: the default manager serves
// routines given none, its images reach it before controls hear of the new skin, and
// both bindings end when the skin is removed and when the manager goes.
#include "skin/win32/sSkinManager.h"

#include "framework/win32/Application.h"
#include "model/acSkinSource.h"
#include "../ManagerTestUtils.h"
#include "RecordingControls.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

using test::TRecForm;

const String kInternal = L"Android OS (internal)";

// Notes, when the new skin is announced, whether the manager's images already find it.
class TSourceProbe : public TGraphicControl {
public:
    explicit TSourceProbe(TComponent* owner) : TGraphicControl(owner) {}
    TsSkinManager* Manager = nullptr;
    int Announcements = 0;
    bool SourceSeen = false;
    void WndProc(TMessage& message) override {
        if (message.Msg == SM_ALPHACMD && message.WParamHi() == SKC_NEWSKIN && Manager) {
            ++Announcements;
            SourceSeen = !Manager->ma.empty() && MaskSourceBitmap(Manager->ma[0]) == &Manager->MasterBitmap;
        }
        TGraphicControl::WndProc(message);
    }
};

TEST(ManagerPaintSourceWin32, DefaultManagerIsTheSourceWhileItHasASkin) {
    test::TempSkinDir dir;
    std::unique_ptr<TRecForm> form(NewForm<TRecForm>(&Application(), "form"));
    auto* probe = new TSourceProbe(form.get());
    probe->SetParent(form.get());
    ASSERT_EQ(DefaultManager, nullptr);
    auto* m = new TsSkinManager(form.get());
    probe->Manager = m;
    test::AddInternalSkin(*m, kInternal, test::ManagerSkinPack("$00010203"));
    m->SetSkinDirectory(dir.Path());
    m->SetSkinName(kInternal);
    EXPECT_EQ(DefaultSkinSource(), static_cast<TacSkinSource*>(m));
    ASSERT_FALSE(m->ma.empty());
    EXPECT_EQ(m->ma[0].Owner, static_cast<const TacSkinSource*>(m));
    EXPECT_EQ(MaskSourceBitmap(m->ma[0]), &m->MasterBitmap);
    EXPECT_GE(probe->Announcements, 1);
    EXPECT_TRUE(probe->SourceSeen);

    m->SetActive(false);
    EXPECT_EQ(DefaultSkinSource(), nullptr);
    m->SetActive(true);
    EXPECT_EQ(DefaultSkinSource(), static_cast<TacSkinSource*>(m));

    delete m;
    EXPECT_EQ(DefaultSkinSource(), nullptr);
}

}  // namespace
}  // namespace qv
