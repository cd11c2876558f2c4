// Lexwiz's entry: the wizard state over the machine's files, code page and
// registry, the window, and the page flow that connects them. The language
// packs are the subfolders of the program's own folder; the help file
// "Lexwiz.chm" lies beside the program.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "common/translation_project.h"
#include "common/wide.h"
#include "common/windows_system.h"
#include "wizard/registry_settings.h"
#include "wizard/wizard_flow.h"
#include "wizard/wizard_state.h"
#include "wizard/wizard_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace pellion;
    // No "insert a disk" boxes while the folder tree looks at drives.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The shell functions (icons, opening the help file) want COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    const std::u16string programFolder = folderOfPath(ownProgramPath());
    NativeFileSystem files;
    SystemAnsiCodePage codePage;
    RegistrySettings settings;
    {
        WizardWindow window(instance, toWide(programFolder) + L"Lexwiz.chm");
        WizardState state(files, codePage, window);
        WizardFlow flow(state, settings, window);
        window.attach(flow);
        if (window.create()) {
            if (flow.start(programFolder))
                window.run();
            else
                window.close();
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
