#include "app/TrayDialog.h"

#include <cstring>

#include "platform/Seam.h"

namespace {
const UINT trayIconId = 1;
const char trayTip[] = "Quendal Camera Property";
// The shell broadcasts it when it makes its taskbar anew; 0 until registered.
UINT taskbarCreated = 0;
}  // namespace

BEGIN_MESSAGE_MAP(TrayDialog, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_MESSAGE(WM_TRAYNOTIFY, OnTrayCallback)
    ON_REGISTERED_MESSAGE(taskbarCreated, OnTaskbarCreated)
    ON_COMMAND(ID_TRAY_EXIT, OnTrayExit)
    ON_COMMAND(ID_TRAY_LAUNCH, LaunchPropertyPages)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TrayDialog::TrayDialog(CWnd* parent) : CDialog(IDD_TRAY_DIALOG, parent), trayIconData() {
    LPCSTR icon = MAKEINTRESOURCEA(IDR_MAINFRAME);
    appIcon = platform::LoadIconA(AfxFindResourceHandle(icon, RT_GROUP_ICON), icon);
}

// The menu goes with the object (CMenu); the icon is the window's business (OnDestroy).
TrayDialog::~TrayDialog() = default;

BOOL TrayDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    launchBusy = 0;

    HMENU systemMenu = platform::GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            platform::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            platform::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    platform::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    platform::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));

    trayIconData.cbSize = NOTIFYICONDATAA_V2_SIZE;
    trayIconData.hWnd = m_hWnd;
    trayIconData.uID = trayIconId;
    trayIconData.uCallbackMessage = WM_TRAYNOTIFY;
    trayIconData.hIcon = appIcon;
    std::memcpy(trayIconData.szTip, trayTip, sizeof trayTip);
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

    LPCSTR menu = MAKEINTRESOURCEA(IDR_TRAY_MENU);
    if (!trayMenu.Attach(platform::LoadMenuA(AfxFindResourceHandle(menu, RT_MENU), menu))) {
        MessageBox("Unabled to Load menu", nullptr, MB_OK);
    }

    // Registered before the add, so that no new taskbar can come between unnoticed.
    taskbarCreated = platform::RegisterWindowMessageA("TaskbarCreated");
    trayIconAdded = platform::Shell_NotifyIconA(NIM_ADD, &trayIconData) != FALSE;
    if (!trayIconAdded) MessageBox("Unable to Set Tary Icon", nullptr, MB_OK);

    showState = 1;
    platform::InitCommonControls();
    // Never undone: the camera's component objects rely on it until the process ends.
    platform::CoInitialize(nullptr);
    return TRUE;
}
