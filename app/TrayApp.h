#pragma once
#include "platform/Afx.h"

// The application object: its whole life is one modal run of the tray window.
class TrayApp : public CWinApp {
public:
    TrayApp() : CWinApp(nullptr) {}
    ~TrayApp() override = default;
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
