#include <new>

#include "platform/Afx.h"
#include "platform/Seam.h"

BOOL CMenu::Attach(HMENU menu) {
    if (!menu) return FALSE;
    DestroyMenu();
    m_hMenu = menu;
    owning = true;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    delete subMenu;
    subMenu = nullptr;
    return menu;
}

BOOL CMenu::DestroyMenu() {
    delete subMenu;
    subMenu = nullptr;
    if (!m_hMenu) return FALSE;
    HMENU menu = Detach();
    // A popup borrowed from its parent menu goes with the parent.
    return owning ? platform::DestroyMenu(menu) : TRUE;
}

CMenu* CMenu::GetSubMenu(int position) {
    HMENU popup = platform::GetSubMenu(m_hMenu, position);
    if (!popup) return nullptr;
    delete subMenu;
    subMenu = new (std::nothrow) CMenu;
    if (!subMenu) return nullptr;
    subMenu->m_hMenu = popup;
    subMenu->owning = false;
    return subMenu;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
    return platform::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
}
