#pragma once
// Message maps: a static table per class, chained to the base class's table. Each entry
// holds a small thunk that unpacks the message for the handler it names.
#include "platform/Win.h"

class CCmdTarget;

typedef LRESULT (*AfxHandler)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT message;        // 0 ends the table
    UINT id;             // command identifier for WM_COMMAND entries, otherwise 0
    AfxHandler handler;
    // A registered message's number is known only at run time: the variable holding it.
    const UINT* registered = nullptr;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*getBaseMap)();  // null at the root
    const AFX_MSGMAP_ENTRY* entries;
};

#define DECLARE_MESSAGE_MAP()                                                  \
public:                                                                        \
    static const AFX_MSGMAP* GetThisMessageMap();                              \
    const AFX_MSGMAP* GetMessageMap() const override { return GetThisMessageMap(); }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                 \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                          \
        using ThisClass [[maybe_unused]] = theClass;                           \
        using TheBaseClass = baseClass;                                        \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                      \
            { 0, 0, nullptr }                                                  \
        };                                                                     \
        static const AFX_MSGMAP map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map;                                                           \
    }

#define AFX_THUNK(body) [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {     \
        [[maybe_unused]] ThisClass* self = static_cast<ThisClass*>(t);          \
        (void)w; (void)l;                                                      \
        body                                                                   \
    }

#define ON_WM_PAINT() \
    { WM_PAINT, 0, AFX_THUNK(self->OnPaint(); return 0;) },
#define ON_WM_SYSCOMMAND() \
    { WM_SYSCOMMAND, 0, AFX_THUNK(self->OnSysCommand(static_cast<UINT>(w), l); return 0;) },
#define ON_WM_QUERYDRAGICON() \
    { WM_QUERYDRAGICON, 0, AFX_THUNK(return reinterpret_cast<LRESULT>(self->OnQueryDragIcon());) },
#define ON_WM_LBUTTONDBLCLK() \
    { WM_LBUTTONDBLCLK, 0, AFX_THUNK(self->OnLButtonDblClk(static_cast<UINT>(w), CPoint(l)); return 0;) },
#define ON_WM_DESTROY() \
    { WM_DESTROY, 0, AFX_THUNK(self->OnDestroy(); return 0;) },
#define ON_MESSAGE(message, memberFn) \
    { message, 0, AFX_THUNK(return self->memberFn(w, l);) },
#define ON_REGISTERED_MESSAGE(messageVariable, memberFn) \
    { 0xC000, 0, AFX_THUNK(return self->memberFn(w, l);), &messageVariable },
#define ON_COMMAND(id, memberFn) \
    { WM_COMMAND, id, AFX_THUNK(self->memberFn(); return 0;) },
