#include "platform/Afx.h"
#include "platform/Seam.h"

namespace {

// The message being handled, for Default(). Saved and restored around each dispatch so
// nested modal loops leave it intact.
struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
CurrentMessage current;

CWnd* permanentWindows = nullptr;  // the most recently subclassed first

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (!wnd) return DefWindowProcA(hwnd, message, wParam, lParam);
    return wnd->WindowProc(message, wParam, lParam);
}

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    Detach();
    Unlink();  // also when the handle was cleared behind the object's back
    // The main window pointer must not outlive the window object.
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == this) thread->m_pMainWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    for (CWnd* wnd = permanentWindows; wnd; wnd = wnd->nextPermanent)
        if (wnd->m_hWnd == hwnd) return wnd;
    return nullptr;
}

// A window procedure is a pointer: on 64-bit Windows only the pointer-sized call keeps it whole.
void CWnd::Subclass(HWND hwnd) {
    Unlink();
    m_hWnd = hwnd;
    nextPermanent = permanentWindows;
    permanentWindows = this;
    m_pfnSuper = reinterpret_cast<WNDPROC>(platform::SetWindowLongPtrA(
        hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
}

void CWnd::Detach() {
    if (!m_hWnd) return;
    if (m_pfnSuper)
        platform::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    Unlink();
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

void CWnd::Unlink() {
    for (CWnd** link = &permanentWindows; *link; link = &(*link)->nextPermanent) {
        if (*link == this) {
            *link = nextPermanent;
            break;
        }
    }
    nextPermanent = nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage saved = current;
    current = {message, wParam, lParam};

    LRESULT result;
    const AFX_MSGMAP_ENTRY* entry = nullptr;
    bool command = message == WM_COMMAND && HIWORD(wParam) <= 1;  // menu, accelerator or click
    if (command || message != WM_COMMAND) entry = FindHandler(message, command ? LOWORD(wParam) : 0);
    if (entry) {
        result = entry->handler(this, wParam, lParam);
    } else if (command && AfxGetApp() && AfxGetApp()->OnCmdMsg(LOWORD(wParam))) {
        result = 0;
    } else {
        result = DefWindowProc(message, wParam, lParam);
    }

    if (message == WM_NCDESTROY) {
        Detach();
        CWinThread* thread = AfxGetThread();
        if (thread && thread->m_pMainWnd == this) thread->m_pMainWnd = nullptr;
    }
    current = saved;
    return result;
}

LRESULT CWnd::Default() { return DefWindowProc(current.message, current.wParam, current.lParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_pfnSuper) return 0;
    return platform::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
}

BOOL CWnd::ShowWindow(int showCommand) { return platform::ShowWindow(m_hWnd, showCommand); }

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    if (!caption && AfxGetApp()) caption = AfxGetApp()->m_pszAppName;
    return platform::MessageBoxA(m_hWnd, text, caption, type);
}
