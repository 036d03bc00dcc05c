#include "platform/Afx.h"
#include "platform/Seam.h"

namespace {

// The dialog's own procedure sees the messages up to WM_INITDIALOG; from there on the
// window is subclassed and its messages go through the dialog object's message map.
INT_PTR CALLBACK AfxDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->Subclass(hwnd);
    return dialog->OnInitDialog();
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    // With no parent the dialog belongs to the main window, unless it is the main window.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    CWinThread* thread = AfxGetThread();
    if (!owner && thread && thread->m_pMainWnd && thread->m_pMainWnd != this) {
        owner = thread->m_pMainWnd->m_hWnd;
    }
    HINSTANCE module = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    return platform::DialogBoxParamA(module, m_lpszTemplateName, owner, &AfxDlgProc,
                                     reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::EndDialog(int result) { return platform::EndDialog(m_hWnd, result); }
