#pragma once
// A small application framework in the shape of the one the program was designed on:
// the application object, dialogs run modally from resource templates, message maps,
// menus, paint cycles and string resources. Only what the program uses. It throws
// nothing and allocates only where a text's length is not known in advance.
#include "platform/AfxMsgMap.h"

#define ID_HELP 0xE146
#define AFX_IDS_APP_TITLE 0xE000

class CWnd;

struct CPoint : POINT {
    // From a mouse message's lParam: signed client coordinates.
    explicit CPoint(LPARAM l)
        : POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))} {}
};

// A text on the heap; an allocation that fails leaves it empty.
class CString {
public:
    CString() = default;
    ~CString();
    CString(const CString&) = delete;
    CString& operator=(const CString&) = delete;
    CString& operator=(const char* value);

    BOOL LoadString(UINT id);
    bool IsEmpty() const { return !text || !text[0]; }
    operator const char*() const { return text ? text : ""; }

private:
    void Assign(const char* value, size_t length);
    char* text = nullptr;
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
    // The first entry along the chain of maps for a message and command identifier.
    const AFX_MSGMAP_ENTRY* FindHandler(UINT message, UINT id) const;
    // Runs the map's handler for a command; FALSE when the map has none.
    BOOL OnCmdMsg(UINT id);
};

class CWinThread : public CCmdTarget {
public:
    CWnd* m_pMainWnd = nullptr;
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
};

class CWinApp : public CWinThread {
public:
    // A null name means: the string AFX_IDS_APP_TITLE, or else the executable's base name.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Settles the module handle and the application name; AfxWinMain calls it first.
    void InitApplication(HINSTANCE instance);
    void OnHelp();

    HINSTANCE m_hInstance = nullptr;
    const char* m_pszAppName = nullptr;

private:
    CString appName;
};

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    BOOL ShowWindow(int showCommand);
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

    // Every message of a subclassed window comes here: the message map first, then
    // the window's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Routes the window's messages through this object until the window is destroyed.
    void Subclass(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Default processing of the message being handled: of WM_PAINT it validates the
    // window; a launch that calls it to hide the window at once needs no paint cycle.
    void OnPaint() { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnDestroy() { Default(); }

    HWND m_hWnd = nullptr;
    WNDPROC m_pfnSuper = nullptr;  // the window's own procedure

    DECLARE_MESSAGE_MAP()

private:
    void Detach();
    void Unlink();
    // The subclassed windows form a list through their objects: a few at most, and
    // keeping them costs no allocation.
    CWnd* nextPermanent = nullptr;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog from its template; returns the end code, or -1 when the dialog
    // could not be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    BOOL EndDialog(int result);

    LPCSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};

class CMenu {
public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    // The popup at a position, or null; it stays owned by this menu.
    CMenu* GetSubMenu(int position);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);

    HMENU m_hMenu = nullptr;

private:
    bool owning = true;
    CMenu* subMenu = nullptr;  // owned
};

class CPaintDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    HDC m_hDC;
    PAINTSTRUCT m_ps;

private:
    HWND hwnd;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
void AfxEnableControlContainer();
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
