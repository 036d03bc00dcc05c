#pragma once
#include "platform/Afx.h"
#include "res/resource.h"

// The About box: its OK button and Escape end it through the dialog's own handling.
class AboutDialog : public CDialog {
public:
    AboutDialog() : CDialog(IDD_ABOUTBOX, nullptr) {}
    ~AboutDialog() override = default;
};
