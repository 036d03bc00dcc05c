#include "platform/Afx.h"
#include "platform/Seam.h"

namespace {
CWinApp* currentApp = nullptr;
}

CWinApp::CWinApp(const char* name) {
    // Static construction: the platform seam may not be set up yet, so the name is
    // settled later, in InitApplication.
    if (name) appName = name;
    currentApp = this;
}

CWinApp::~CWinApp() {
    if (currentApp == this) currentApp = nullptr;
}

void CWinApp::InitApplication(HINSTANCE instance) {
    m_hInstance = instance;
    if (appName.IsEmpty()) appName.LoadString(AFX_IDS_APP_TITLE);
    if (appName.IsEmpty()) {
        char path[MAX_PATH] = "";
        DWORD length = platform::GetModuleFileNameA(nullptr, path, MAX_PATH);
        // A cut path is no name.
        path[length < MAX_PATH ? length : 0] = '\0';
        char* base = path;
        char* dot = nullptr;
        for (char* c = path; *c; ++c) {
            if (*c == '\\' || *c == '/') {
                base = c + 1;
                dot = nullptr;
            } else if (*c == '.') {
                dot = c;
            }
        }
        if (dot) *dot = '\0';
        appName = base;
    }
    m_pszAppName = appName;
}

// The program ships no help file, so help has nothing to open.
void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return currentApp; }

// One user-interface thread: the application's.
CWinThread* AfxGetThread() { return currentApp; }

HINSTANCE AfxGetResourceHandle() {
    if (currentApp && currentApp->m_hInstance) return currentApp->m_hInstance;
    return GetModuleHandleA(nullptr);
}

// Every resource lives in the executable itself.
HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) { return AfxGetResourceHandle(); }

// No dialog of the program hosts an embedded control, so there is no container to set up.
void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->InitApplication(instance);
    // The program's whole life is its InitInstance, which returns FALSE: there is no
    // message pump after it.
    app->InitInstance();
    return app->ExitInstance();
}
