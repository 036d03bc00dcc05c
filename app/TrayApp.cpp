#include "app/TrayApp.h"

#include "app/TrayDialog.h"
#include "platform/Seam.h"

namespace {
// Local\ names belong to the session: each user's session runs a Navolet of its own.
const char instanceName[] = "Local\\Navolet-Quendal-Tray";

// The Navolet already running opens the camera's pages, as a double-click on its icon
// would. Our start was the user's doing, so we may let it bring them to the front.
void HandOverToRunning() {
    HWND running = platform::FindWindowA("#32770", "Navolet-Quendal Property Page");
    if (!running) return;  // still starting: its icon is on the way
    DWORD process = 0;
    platform::GetWindowThreadProcessId(running, &process);
    platform::AllowSetForegroundWindow(process);
    platform::PostMessageA(running, WM_COMMAND, ID_TRAY_LAUNCH, 0);
}
}  // namespace

BEGIN_MESSAGE_MAP(TrayApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL TrayApp::InitInstance() {
    AfxEnableControlContainer();

    // Held until the process ends; a second start finds it and hands over.
    HANDLE instance = platform::CreateMutexA(nullptr, FALSE, instanceName);
    if (instance && platform::GetLastError() == ERROR_ALREADY_EXISTS) {
        HandOverToRunning();
        return FALSE;
    }

    TrayDialog dialog;
    // The popup menu brings the main window to the foreground.
    m_pMainWnd = &dialog;
    dialog.DoModal();

    // No message pump: the process ends when the tray window has.
    return FALSE;
}
