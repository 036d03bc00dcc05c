#include "app/TrayApp.h"

#include "app/TrayDialog.h"

BEGIN_MESSAGE_MAP(TrayApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL TrayApp::InitInstance() {
    AfxEnableControlContainer();

    TrayDialog dialog;
    // The popup menu brings the main window to the foreground.
    m_pMainWnd = &dialog;
    dialog.DoModal();

    // No message pump: the process ends when the tray window has.
    return FALSE;
}
