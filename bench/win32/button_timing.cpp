// Timing of a real skinned push button under Windows: a main-window sized button
// (323 x 71) with the internal skin on a shown form. It measures, with the
// performance counter over a few hundred repetitions, the cache rebuild (called
// directly and through skin command 23), one whole fade step as the fade timer takes it
// (copy and blend of the faces, then the copy to the window, flushed), the copy and
// blend alone, and memcpy of the face in the same run, then prints a small table.
//
// Run it where it has a display, for example under Wine:
//   scripts/wine-session.sh build/<dir> build/<dir>/wine-run.sh
//   build/<dir>/bench/win32/quorvel_button_timing.exe [repetitions]
// The exit code is 0 when every measurement ran, 1 when the setup failed (the table
// then says why).
#include "controls/sCommonDataCore.h"
#include "windows/win32/acBtnWnd.h"
#include "controls/win32/sBitBtn.h"
#include "framework/win32/Application.h"
#include "framework/win32/Edit.h"
#include "framework/win32/Forms.h"
#include "paint/sAlphaGraph.h"
#include "paint/sGraphUtils.h"
#include "paint/sGraphUtils_Item.h"
#include "skin/sConst.h"
#include "skin/win32/sSkinManager.h"
#include "win32/InternalSkinResource.h"
#include "win32/MessagePump.h"
#include "InternalSkinLoad.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr int kWidth = 323, kHeight = 71;
constexpr int kWarmUp = 20;

// Microseconds per call of each repetition.
class Samples {
public:
    void Add(double us) { FUs.push_back(us); }
    bool Empty() const noexcept { return FUs.empty(); }
    std::size_t Count() const noexcept { return FUs.size(); }
    double Median() const {
        std::vector<double> v = FUs;
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    double Best() const { return *std::min_element(FUs.begin(), FUs.end()); }

private:
    std::vector<double> FUs;
};

double CounterFrequency() {
    LARGE_INTEGER f{};
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
}

// Times `callsPerSample` calls of body per repetition (several calls when one is too
// short for the counter's resolution), after a few calls that are not counted.
template <class Body>
Samples Measure(int repetitions, int callsPerSample, Body&& body) {
    static const double frequency = CounterFrequency();
    for (int i = 0; i < kWarmUp; ++i) body();
    Samples s;
    for (int r = 0; r < repetitions; ++r) {
        LARGE_INTEGER t0{}, t1{};
        ::QueryPerformanceCounter(&t0);
        for (int c = 0; c < callsPerSample; ++c) body();
        ::QueryPerformanceCounter(&t1);
        s.Add(static_cast<double>(t1.QuadPart - t0.QuadPart) * 1e6 / frequency / callsPerSample);
    }
    return s;
}

struct Row {
    std::string What;
    Samples Times;
};

void PrintTable(const std::vector<Row>& rows, const Samples& memcpyTimes) {
    std::printf("%-52s %5s %12s %12s %10s\n", "per call", "reps", "median us", "best us", "x memcpy");
    for (const Row& r : rows) {
        std::printf("%-52s %5zu %12.2f %12.2f %10.1f\n", r.What.c_str(), r.Times.Count(), r.Times.Median(),
                    r.Times.Best(), r.Times.Median() / memcpyTimes.Median());
    }
    std::fflush(stdout);
}

// The form, its skin manager and the button, set up as the main window sets up its first
// button: 323 x 71 at (3, 3) of a 329-pixel-wide client area, section BUTTON, Tahoma 8 pt.
// An edit box takes the focus, so the button starts in its normal state.
class Bench {
public:
    // Empty on success, else what went wrong.
    std::string SetUp() {
        const auto pack = test::InternalSkinResource();
        if (!pack.first) return "the internal skin is not among this executable's resources";
        form.reset(NewForm<TForm>(nullptr));
        form->SetBounds(40, 40, 345, 533);
        form->SetClientWidth(329);
        form->SetClientHeight(494);
        form->SetColor(clBtnFace);
        form->Font().SetName(L"Tahoma");
        form->Font().SetHeight(-11);
        manager = new TsSkinManager(form.get());
        manager->BeginLoading();
        test::ActivateInternalSkin(*manager, test::kInternalSkin, pack.first, pack.second);
        manager->EndReading();
        static_cast<TComponent*>(manager)->Loaded();
        if (!manager->SkinData.Active) return "the internal skin did not load";

        button = new TsBitBtn(form.get());
        button->AfterConstruction();
        button->SkinData()->SetSkinSection(L"BUTTON");
        button->SetParent(form.get());
        button->SetBounds(3, 3, kWidth, kHeight);
        button->SetCaption(L"Add filename to list");
        focus = new TEdit(form.get());
        focus->AfterConstruction();
        focus->SetParent(form.get());
        focus->SetBounds(3, 200, 100, 22);

        form->Show();
        ::SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        ::UpdateWindow(form->Handle());
        test::PumpUntil(
            [&] { return ::IsWindowVisible(form->Handle()) && !::GetUpdateRect(button->Handle(), nullptr, FALSE); });
        focus->SetFocus();
        test::PumpUntil([&] { return ::GetFocus() == focus->Handle() && !button->FadeRunning(); });
        TBitmap* cache = Cache();
        if (!cache || cache->Width() != kWidth || cache->Height() != kHeight)
            return "the button did not build its 323 x 71 face";
        if (button->CurrentState() != 0) return "the button is not in its normal state";
        return {};
    }
    void TearDown() { form.reset(); }

    TBitmap* Cache() { return button->SkinData()->FCacheBmp.get(); }

    std::unique_ptr<TForm> form;
    TsSkinManager* manager = nullptr;
    TsBitBtn* button = nullptr;
    TEdit* focus = nullptr;
};

int Run(int repetitions) {
    Bench b;
    if (const std::string failure = b.SetUp(); !failure.empty()) {
        std::printf("setup failed: %s\n", failure.c_str());
        return 1;
    }
    std::printf("button %d x %d, internal skin, %d repetitions each, performance counter %.0f Hz\n", kWidth, kHeight,
                repetitions, CounterFrequency());

    std::vector<Row> rows;
    TsBitBtn* button = b.button;
    const HWND wnd = button->Handle();

    // memcpy of the face from the cache into a buffer of the same size. One copy is near
    // the counter's resolution, so each repetition times 16.
    const std::size_t faceBytes = static_cast<std::size_t>(kWidth) * kHeight * 4;
    std::vector<std::uint8_t> copy(faceBytes);
    const std::uint8_t* faceBottom = b.Cache()->ScanLine(kHeight - 1);  // rows are bottom-up
    const Samples memcpyTimes = Measure(repetitions, 16, [&] {
        std::memcpy(copy.data(), faceBottom, faceBytes);
        // Keeps the copy from being dropped as unused.
        asm volatile("" : : "r"(copy.data()) : "memory");
    });

    rows.push_back(
        {"PrepareCache, normal face (direct call)", Measure(repetitions, 1, [&] { button->PrepareCache(); })});
    const WPARAM prepare = MAKEWPARAM(0, SKC_PREPARECACHE2);
    rows.push_back({"PrepareCache, normal face (SendMessage command 23)",
                    Measure(repetitions, 1, [&] { ::SendMessageW(wnd, SM_ALPHACMD, prepare, 0); })});

    // The same face of a bare system button of the same size under a window wrapper,
    // below the skinned one; its caption is measured and drawn with the system font.
    {
        const HWND bare = ::CreateWindowExW(0, L"BUTTON", L"Add filename to list",
                                            WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 3, 80, kWidth, kHeight,
                                            b.form->Handle(), nullptr, nullptr, nullptr);
        TacBtnWnd* wrapped = TacMainWnd::Create<TacBtnWnd>(bare, nullptr, b.manager, String());
        test::PumpUntil([&] { return !::GetUpdateRect(bare, nullptr, FALSE); });
        rows.push_back({"wrapped bare button PrepareCache, normal face",
                        Measure(repetitions, 1, [&] { wrapped->PrepareCache(); })});
        wrapped->Release();
        ::DestroyWindow(bare);
    }

    // Hovering starts the fade toward the hot face; its timer is stopped and the steps are
    // taken here, going back to step 1 when a fade runs out so every step blends.
    button->Perform(CM_MOUSEENTER, 0, 0);
    TsFadeTimer* fade = button->Fade();
    if (!fade || fade->Iterations <= 0 || !fade->BmpFrom) {
        std::printf("setup failed: hovering the button started no fade\n");
        b.TearDown();
        return 1;
    }
    fade->SetEnabled(false);
    if (button->CurrentState() != 1) {
        std::printf("setup failed: the hovered button is not hot\n");
        b.TearDown();
        return 1;
    }
    const int iterations = fade->Iterations;
    rows.push_back({"PrepareCache, hot face (direct call)", Measure(repetitions, 1, [&] { button->PrepareCache(); })});
    // Where the rebuild's time goes: the face without its caption, and the section's
    // background and border alone (the portable pixel work, as the native benchmark
    // measures it).
    button->SetShowCaption(false);
    rows.push_back(
        {"PrepareCache, hot face without caption", Measure(repetitions, 1, [&] { button->PrepareCache(); })});
    button->SetShowCaption(true);
    button->PrepareCache();
    TsCommonData* binding = button->SkinData();
    TCacheInfo behind;
    binding->GetParentCache(behind);
    TCacheInfo behindBorder = behind;
    behindBorder.X += button->Left();
    behindBorder.Y += button->Top();
    const TRect whole{0, 0, kWidth, kHeight};
    const bool border = b.manager->IsValidImgIndex(binding->FBorderIndex);
    rows.push_back({"  of which GetParentCache (asks the form)", Measure(repetitions, 1, [&] {
                        TCacheInfo ci;
                        binding->GetParentCache(ci);
                        asm volatile("" : : "r"(&ci) : "memory");
                    })});
    // The rebuild asks for the state more than once (the face, the caption, the glyph).
    rows.push_back({"  of which one CurrentState (asks the native button)", Measure(repetitions, 1, [&] {
                        const int state = button->CurrentState();
                        asm volatile("" : : "r"(state));
                    })});
    // The layout measures the caption on the cache canvas after giving it the button's
    // font; the same two calls here.
    rows.push_back({"  of which font to cache canvas + caption measure", Measure(repetitions, 1, [&] {
                        TCanvas& canvas = b.Cache()->Canvas();
                        canvas.Font().Assign(button->Font());
                        TRect r{0, 0, kWidth - 2 * button->Margin(), 0};
                        canvas.DrawText(r, button->Caption(),
                                        DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK);
                    })});
    rows.push_back({"  of which background + border mask (hot face)", Measure(repetitions, 1, [&] {
                        TBitmap* face = b.Cache();
                        PaintItemBG(binding, behind, 1, whole, {button->Left(), button->Top()}, face);
                        if (border)
                            DrawSkinRect(face, whole, true, behindBorder, b.manager->ma[binding->FBorderIndex], 1, true,
                                         binding->SkinManager());
                    })});
    button->PrepareCache();
    rows.push_back({"fade step: Change() + GdiFlush (copy to window)", Measure(repetitions, 1, [&] {
                        if (fade->FadeLevel > fade->Iterations) fade->FadeLevel = 1;
                        fade->Change();
                        ::GdiFlush();
                    })});
    // The same step's pixel work without the window: copy of the old face, blend.
    int level = 1;
    rows.push_back({"fade step pixels only: copy + SumBitmaps", Measure(repetitions, 1, [&] {
                        TBitmap composite;
                        composite.Assign(*fade->BmpFrom);
                        SumBitmaps(&composite, b.Cache(), static_cast<TColor>(FadeStepWeight(level, iterations)));
                        level = level % iterations + 1;
                        asm volatile("" : : "r"(composite.ScanLine(0)) : "memory");
                    })});
    // The step's two pixel parts apart: a new 32-bit bitmap holding a copy of the old face
    // (a DIB section on Windows), and the blend into a bitmap that is kept.
    rows.push_back({"  of which new bitmap + copy of the old face", Measure(repetitions, 1, [&] {
                        TBitmap composite;
                        composite.Assign(*fade->BmpFrom);
                        asm volatile("" : : "r"(composite.ScanLine(0)) : "memory");
                    })});
    TBitmap kept;
    kept.Assign(*fade->BmpFrom);
    rows.push_back({"  of which SumBitmaps into a kept bitmap", Measure(repetitions, 1, [&] {
                        SumBitmaps(&kept, b.Cache(), static_cast<TColor>(FadeStepWeight(level, iterations)));
                        level = level % iterations + 1;
                    })});
    rows.push_back({"memcpy of the face (323 * 71 * 4 bytes)", memcpyTimes});
    PrintTable(rows, memcpyTimes);
    b.TearDown();
    return 0;
}

}  // namespace
}  // namespace qv

int main(int argc, char** argv) {
    int repetitions = 400;
    if (argc > 1) {
        repetitions = std::atoi(argv[1]);
        if (repetitions < 1 || repetitions > 100000) {
            std::fprintf(stderr, "usage: quorvel_button_timing [repetitions 1..100000]\n");
            return 2;
        }
    }
    try {
        return qv::Run(repetitions);
    } catch (const std::exception& e) {
        std::printf("failed: %s\n", e.what());
        return 1;
    }
}
