// Program entry: start the framework, create the main window, run the message loop.
#include "app/win32/formmain.h"
#include "framework/win32/Application.h"
#include "framework/win32/Dpi.h"
#include "windows/win32/acDials.h"
#include "windows/win32/sDialogs.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace qv;
    // Before any window: a system that did not take the manifest's awareness is asked
    // at run time.
    EnsurePerMonitorDpiAwareness();
    Application().Initialize();
    Application().MainFormOnTaskBar = true;
    InstallDialogSeams();
    InstallWindowSkinningSeams();  // before the main form: its skin manager installs the hook
    TForm_quorvel* Form_quorvel = nullptr;
    Application().CreateForm(Form_quorvel);  // a failure is shown to the user
    if (!Form_quorvel) return 1;
    Application().Run();
    return 0;
}
