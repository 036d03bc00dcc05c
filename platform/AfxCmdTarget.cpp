#include "platform/Afx.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindHandler(UINT message, UINT id) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->getBaseMap ? map->getBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->entries; e->message != 0; ++e) {
            // A registered message matches only once its number has been registered.
            UINT wanted = e->registered ? *e->registered : e->message;
            if (wanted != 0 && wanted == message && e->id == id) return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT id) {
    const AFX_MSGMAP_ENTRY* e = FindHandler(WM_COMMAND, id);
    if (!e) return FALSE;
    e->handler(this, id, 0);
    return TRUE;
}
