#include "platform/Afx.h"
#include "platform/Seam.h"

#include <cstdlib>
#include <cstring>

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
    HRSRC resource = platform::FindResourceA(module, m_lpszTemplateName, RT_DIALOG);
    HGLOBAL loaded = resource ? platform::LoadResource(module, resource) : nullptr;
    const void* data = loaded ? platform::LockResource(loaded) : nullptr;
    DWORD size = data ? platform::SizeofResource(module, resource) : 0;
    if (size < sizeof(DLGTEMPLATE)) return -1;
    // The dialog loop shows a modal dialog once, when the queue first runs dry. A visible
    // template would also be shown at creation (on Wine), and then shown again by the
    // loop after its first paint has hidden it: so it goes to the loop without WS_VISIBLE.
    void* copy = std::malloc(size);
    if (!copy) return -1;
    std::memcpy(copy, data, size);
    const WORD* words = static_cast<const WORD*>(copy);
    bool extended = words[0] == 1 && words[1] == 0xFFFF;  // DLGTEMPLATEEX: style after version, signature, help id
    DWORD style;
    BYTE* styleField = static_cast<BYTE*>(copy) + (extended ? 12 : 0);
    std::memcpy(&style, styleField, sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(styleField, &style, sizeof style);
    INT_PTR result = platform::DialogBoxIndirectParamA(module, static_cast<LPCDLGTEMPLATEA>(copy), owner, &AfxDlgProc,
                                                       reinterpret_cast<LPARAM>(this));
    std::free(copy);
    return result;
}

BOOL CDialog::EndDialog(int result) { return platform::EndDialog(m_hWnd, result); }
