// The control adapter of a skinned form: framework controls that were not written for
// the skin (the framework's own push buttons, labels and speed buttons, and any class a
// skin manager's class lists name) are put under the skin by window wrappers, one
// adapter item per control. The form's frame skinner owns the adapter; the message
// dialogs' OK and Cancel buttons are skinned this way.
#pragma once
#include "controls/win32/acMainWnd.h"
#include "framework/win32/Forms.h"

#include <functional>
#include <memory>
#include <vector>

namespace qv {

class TacCtrlAdapter;

// A control's skin binding and the wrapper that paints it.
class TacAdapterItem {
public:
    TacAdapterItem(TacCtrlAdapter* adapter, TWinControl* control);
    ~TacAdapterItem();
    TacAdapterItem(const TacAdapterItem&) = delete;
    TacAdapterItem& operator=(const TacAdapterItem&) = delete;

    // Wraps control by the first class list that names it; nothing for a control tagged
    // -98, not ready, without parent or window, or already handling the skin.
    void DoHook(TWinControl* control);
    // The control is being destroyed: let go of it without touching it.
    void ControlGone() noexcept;
    // Frees the wrapper, giving the control back.
    void ReleaseWrapper() noexcept;

    TacCtrlAdapter* Adapter;
    TWinControl* Ctrl;
    std::unique_ptr<TsCommonData> SkinData;
    TacMainWnd* ScrollWnd = nullptr;  // the wrapper, or nullptr
};

// A graphic control (speed button) the adapter recorded with its section.
struct TacGraphItem {
    TControl* Ctrl;
    String Section;
};

// Lets the application veto a control (allow false) or give it another section.
using TacSkinItemEvent = std::function<void(TControl* control, bool& allow, String& section)>;

class TacCtrlAdapter : public TComponent {
public:
    // form: the form whose controls are adapted (and the adapter's owner).
    TacCtrlAdapter(TCustomForm* form, TsSkinManager* manager);
    TacCtrlAdapter(const TacCtrlAdapter&) = delete;
    TacCtrlAdapter& operator=(const TacCtrlAdapter&) = delete;
    ~TacCtrlAdapter() override;

    // Components first, then child controls, then every windowed child recursively.
    // Only with srThirdParty in the manager's rules, and never while already running.
    void AddAllItems(TWinControl* owner = nullptr);
    bool IsControlSupported(TControl* control);
    void AddNewItem(TWinControl* control, const String& section = String());
    // Tells every wrapper the skin is gone and frees the items with their wrappers.
    void RemoveAllItems();

    TacAdapterItem* ItemOf(const TWinControl* control) const noexcept;
    TsSkinManager* Manager() const noexcept { return FManager ? FManager : DefaultManager; }
    TCustomForm* Form() const noexcept { return FForm; }

    std::vector<std::unique_ptr<TacAdapterItem>> Items;
    std::vector<TacGraphItem> GraphItems;
    TacSkinItemEvent OnSkinItem;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void AddAll(TWinControl* owner);
    void AddSupported(TControl* control);
    void AdaptLabel(TControl* label);
    void AddSpeedButton(TControl* button);

    TCustomForm* FForm;
    TsSkinManager* FManager;
};

}  // namespace qv
