// The folder chooser component: Execute shows a folder browser rooted at the shell's
// desktop and, when the user confirms, Path holds the chosen folder.
#pragma once
#include "framework/Classes.h"
#include "framework/Types.h"

namespace qv {

enum TacRoot { rfDesktop };

class TsPathDialog : public TComponent {
public:
    explicit TsPathDialog(TComponent* owner) : TComponent(owner) {}

    // True when the user chose a folder that has a file-system path.
    virtual bool Execute();

    String Path;           // the preselected folder; the chosen one after Execute
    String Caption;        // title text shown above the folder tree
    TacRoot Root = rfDesktop;
};

}  // namespace qv
