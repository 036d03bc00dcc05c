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
    if (appName.empty()) {
        CString title;
        title.LoadString(AFX_IDS_APP_TITLE);
        appName = static_cast<const char*>(title);
    }
    if (appName.empty()) {
        char path[MAX_PATH] = "";
        DWORD length = platform::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string base(path, length < MAX_PATH ? length : 0);
        base.erase(0, base.find_last_of("\\/") + 1);
        std::string::size_type dot = base.rfind('.');
        if (dot != std::string::npos) base.erase(dot);
        appName = base;
    }
    m_pszAppName = appName.c_str();
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
