#include "platform/Afx.h"
#include "platform/Seam.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_ps(), hwnd(wnd->m_hWnd) {
    m_hDC = platform::BeginPaint(hwnd, &m_ps);
}

CPaintDC::~CPaintDC() { platform::EndPaint(hwnd, &m_ps); }
