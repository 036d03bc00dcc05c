// The tray icon's callbacks, its popup menu and the way out.
#include "app/TrayDialog.h"
#include "platform/Seam.h"

LRESULT TrayDialog::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
    if (wParam != 1) return 0;  // not our icon
    switch (lParam) {
    case WM_LBUTTONDBLCLK:
        LaunchPropertyPages();
        break;
    case WM_RBUTTONDOWN:
    case WM_CONTEXTMENU: {
        POINT cursor = {0, 0};
        platform::GetCursorPos(&cursor);
        ShowTrayMenu(cursor.x, cursor.y);
        break;
    }
    default:
        break;
    }
    return 0;
}

// Explorer restarted, or came up after us at sign-in: its new taskbar has no icon of
// ours, whether or not the first add worked. Nobody to tell if this add fails; and only a
// success changes the bookkeeping, as an icon the shell kept must still be deleted.
LRESULT TrayDialog::OnTaskbarCreated(WPARAM, LPARAM) {
    if (platform::Shell_NotifyIconA(NIM_ADD, &trayIconData)) trayIconAdded = true;
    return 0;
}

void TrayDialog::ShowTrayMenu(int x, int y) {
    // Without its menu the icon has nothing to offer.
    CMenu* popup = trayMenu.GetSafeHmenu() ? trayMenu.GetSubMenu(0) : nullptr;
    if (!popup) return;

    // The menu closes when the user clicks elsewhere only if our window is in front.
    CWinThread* thread = AfxGetThread();
    CWnd* mainWnd = thread ? thread->m_pMainWnd : nullptr;
    platform::SetForegroundWindow(mainWnd ? mainWnd->m_hWnd : m_hWnd);

    // "&Launch ..." is what a double-click does: show it as the default item.
    platform::SetMenuDefaultItem(popup->m_hMenu, 0, TRUE);
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, x, y, this);
}

void TrayDialog::OnTrayExit() {
    platform::Shell_NotifyIconA(NIM_DELETE, &trayIconData);
    trayIconAdded = false;
    platform::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

// Ending the dialog through OK or Cancel must not leave a dead icon in the tray.
void TrayDialog::OnDestroy() {
    if (trayIconAdded) {
        platform::Shell_NotifyIconA(NIM_DELETE, &trayIconData);
        trayIconAdded = false;
    }
    CDialog::OnDestroy();
}
