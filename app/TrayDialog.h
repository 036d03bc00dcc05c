#pragma once
#include "platform/Afx.h"
#include "res/resource.h"

// The tray icon's callback message.
#define WM_TRAYNOTIFY (WM_USER + 100)

// The shell 5.0 layout of the record, without the trailing GUID field: 488 bytes on
// 32-bit Windows, 504 with 64-bit handles and their alignment.
static_assert(NOTIFYICONDATAA_V2_SIZE == FIELD_OFFSET(NOTIFYICONDATAA, dwInfoFlags) + sizeof(DWORD),
              "tray icon record must end with the shell 5.0 fields");
static_assert(NOTIFYICONDATAA_V2_SIZE == (sizeof(void*) == 4 ? 488 : 504),
              "tray icon record must use the shell 5.0 layout of the architecture");

// The hidden main window: owns the tray icon, its popup menu and the icon's callbacks.
class TrayDialog : public CDialog {
public:
    explicit TrayDialog(CWnd* parent = nullptr);
    ~TrayDialog() override;

    BOOL OnInitDialog() override;
    void OnPaint();
    void OnSysCommand(UINT id, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    LRESULT OnTrayCallback(WPARAM wParam, LPARAM lParam);
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    void OnTrayExit();
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnDestroy();
    void ShowTrayMenu(int x, int y);
    void LaunchPropertyPages();

    int launchBusy = 0;
    int showState = 0;
    CMenu trayMenu;
    NOTIFYICONDATAA trayIconData;
    HICON appIcon = nullptr;
    // Whether the icon is in the notification area, so that no path leaves a dead icon.
    bool trayIconAdded = false;

    DECLARE_MESSAGE_MAP()
};
