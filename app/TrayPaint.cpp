// Painting: the window hides itself; minimised, it shows the application icon.
#include "app/AboutDialog.h"
#include "app/TrayDialog.h"
#include "platform/Seam.h"

void TrayDialog::OnPaint() {
    if (platform::IsIconic(m_hWnd)) {
        CPaintDC dc(this);
        platform::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        int iconWidth = platform::GetSystemMetrics(SM_CXICON);
        int iconHeight = platform::GetSystemMetrics(SM_CYICON);
        RECT client = {0, 0, 0, 0};
        platform::GetClientRect(m_hWnd, &client);
        int x = (client.right - client.left - iconWidth + 1) / 2;
        int y = (client.bottom - client.top - iconHeight + 1) / 2;
        platform::DrawIcon(dc, x, y, appIcon);
        return;
    }
    if (showState == 0) {
        ShowWindow(SW_SHOW);
    } else if (showState == 1) {
        ShowWindow(SW_HIDE);
    }
    CDialog::OnPaint();
}

HCURSOR TrayDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(appIcon); }

void TrayDialog::OnLButtonDblClk(UINT flags, CPoint point) { CDialog::OnLButtonDblClk(flags, point); }

void TrayDialog::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        AboutDialog about;
        about.DoModal();
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}
