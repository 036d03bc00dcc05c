#pragma once
// Every platform operation the program's own code calls goes through these pointers.
// Production points each at the real function; a test swaps the ones it needs and puts
// them back (tests/doubles/SeamOverride.h).
#include "platform/Win.h"

namespace platform {

// Shell and user interface
extern decltype(&::Shell_NotifyIconA) Shell_NotifyIconA;
extern decltype(&::MessageBoxA) MessageBoxA;
extern decltype(&::TrackPopupMenu) TrackPopupMenu;
extern decltype(&::SetMenuDefaultItem) SetMenuDefaultItem;
extern decltype(&::GetSubMenu) GetSubMenu;
extern decltype(&::LoadMenuA) LoadMenuA;
extern decltype(&::DestroyMenu) DestroyMenu;
extern decltype(&::GetSystemMenu) GetSystemMenu;
extern decltype(&::AppendMenuA) AppendMenuA;
extern decltype(&::LoadIconA) LoadIconA;
extern decltype(&::GetCursorPos) GetCursorPos;
extern decltype(&::SetForegroundWindow) SetForegroundWindow;
extern decltype(&::SendMessageA) SendMessageA;
extern decltype(&::PostMessageA) PostMessageA;
extern decltype(&::ShowWindow) ShowWindow;
extern decltype(&::IsIconic) IsIconic;
extern decltype(&::GetSystemMetrics) GetSystemMetrics;
extern decltype(&::GetClientRect) GetClientRect;
extern decltype(&::DrawIcon) DrawIcon;
extern decltype(&::InitCommonControls) InitCommonControls;

// Framework layer: modal dialogs, subclassing, painting, strings
extern decltype(&::DialogBoxParamA) DialogBoxParamA;
extern decltype(&::EndDialog) EndDialog;
extern decltype(&::CallWindowProcA) CallWindowProcA;
extern decltype(&::SetWindowLongA) SetWindowLongA;
extern decltype(&::BeginPaint) BeginPaint;
extern decltype(&::EndPaint) EndPaint;
extern decltype(&::LoadStringA) LoadStringA;
extern decltype(&::GetModuleFileNameA) GetModuleFileNameA;

// Component objects
extern decltype(&::CoInitialize) CoInitialize;
extern decltype(&::CoCreateInstance) CoCreateInstance;
extern decltype(&::CoTaskMemFree) CoTaskMemFree;
extern decltype(&::OleCreatePropertyFrame) OleCreatePropertyFrame;
extern decltype(&::VarBstrCmp) VarBstrCmp;

// Kernel: profile, version and locale
extern decltype(&::GetProfileStringA) GetProfileStringA;
extern decltype(&::GetVersionExA) GetVersionExA;
extern decltype(&::GetThreadLocale) GetThreadLocale;
extern decltype(&::GetLocaleInfoA) GetLocaleInfoA;
extern decltype(&::GetACP) GetACP;
extern decltype(&::MultiByteToWideChar) MultiByteToWideChar;

// Automation strings and variants
extern decltype(&::SysAllocStringLen) SysAllocStringLen;
extern decltype(&::SysFreeString) SysFreeString;
extern decltype(&::VariantInit) VariantInit;
extern decltype(&::VariantClear) VariantClear;

}  // namespace platform
