// The folder chooser: TsPathDialog is the component whose Execute shows TPathDialogForm
// modally, a skinned form with the shell's folder tree and OK, Cancel and Create buttons.
#pragma once
#include "controls/win32/sBitBtn.h"
#include "framework/Classes.h"
#include "framework/Types.h"
#include "framework/win32/Forms.h"
#include "framework/win32/ScrollBox.h"
#include "framework/win32/StdCtrls.h"
#include "windows/win32/acShellCtrls.h"
#include "windows/win32/sSkinProvider.h"

#include <cstdint>
#include <vector>

namespace qv {

enum TacPathDialogOption : std::uint8_t { sdoCreateButton = 1, sdoOption2 = 2, sdoOption3 = 4 };
using TacPathDialogOptions = std::uint8_t;

class TPathDialogForm : public TForm {
public:
    explicit TPathDialogForm(TComponent* owner);
    String ClassName() const override { return L"TPathDialogForm"; }

    TLabel* sLabel1 = nullptr;
    TsShellTreeView* sShellTreeView1 = nullptr;
    TsBitBtn* sBitBtn1 = nullptr;  // OK
    TsBitBtn* sBitBtn2 = nullptr;  // Cancel
    TsBitBtn* sBitBtn3 = nullptr;  // Create
    TScrollBox* sScrollBox1 = nullptr;
    TsSkinProvider* sSkinProvider1 = nullptr;

    void sShellTreeView1Change(TComponent* sender, TTreeNode* node);
    void sBitBtn1Click(TComponent* sender);
    void sBitBtn2Click(TComponent* sender);
    void sBitBtn3Click(TComponent* sender);
    void InitLngCaptions();
    void GenerateButtons();
    void BtnOnClick(TComponent* sender);
    // Takes every control's distances to the client edges it is anchored to as they
    // are now; later resizes keep those distances.
    void UpdateAnchors();

protected:
    void ReadDescription(TDescriptionReader& reader) override;
    void WndProc(TMessage& message) override;
    // The distances the anchored controls keep to the right and bottom edges scale too.
    void ChangeScale(int toDpi, int fromDpi) override;

private:
    struct Anchor {
        TControl* Control;
        TAnchors Anchors;
        int RightGap, BottomGap;
        TDpiLength RightAtDpi{}, BottomAtDpi{};
    };
    void FollowAnchors();
    void WMNCHitTest(TMessage& message);
    void PaintGrip();
    bool SkinnedFrame() const;
    std::vector<Anchor> FAnchors;
    std::vector<TsBitBtn*> FRootButtons;
};

// The name "Create" gives a new folder under parent: parent + "New folder" + the first
// number from 1 on that names no existing directory; empty when every number is taken.
String GetUniName(const String& parent);

class TsPathDialog : public TComponent {
public:
    explicit TsPathDialog(TComponent* owner) : TComponent(owner) {}

    // Shows the chooser modally. True when the user confirmed a folder that exists; Path
    // then holds it. Cancel, closing, or a confirmed folder that is gone by then leave
    // Path as it was and give false.
    virtual bool Execute();

    String Path;                 // in: the folder to preselect; out: the chosen one
    String Root = L"rfDesktop";  // a root-folder name (RootFolderName) or a path
    String Caption;              // the text above the tree
    bool NoChangeDir = false;    // false: the preselected folder becomes the current directory
    bool ShowRootBtns = false;   // a column of buttons for well-known folders
    TacPathDialogOptions DialogOptions = sdoCreateButton | sdoOption2 | sdoOption3;
};

}  // namespace qv
