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
#include "wizard/registry_settings.h"
#include "wizard/wizard_flow.h"
#include "wizard/wizard_state.h"
#include "wizard/wizard_window.h"

namespace {

std::wstring programPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    using namespace pellion;
    // No "insert a disk" boxes while the folder tree looks at drives.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The shell functions (icons, opening the help file) want COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    const std::u16string programFolder = folderOfPath(fromWide(programPath()));
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
