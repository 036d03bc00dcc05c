#include "platform/Seam.h"

namespace platform {

decltype(&::Shell_NotifyIconA) Shell_NotifyIconA = &::Shell_NotifyIconA;
decltype(&::MessageBoxA) MessageBoxA = &::MessageBoxA;
decltype(&::TrackPopupMenu) TrackPopupMenu = &::TrackPopupMenu;
decltype(&::SetMenuDefaultItem) SetMenuDefaultItem = &::SetMenuDefaultItem;
decltype(&::GetSubMenu) GetSubMenu = &::GetSubMenu;
decltype(&::LoadMenuA) LoadMenuA = &::LoadMenuA;
decltype(&::DestroyMenu) DestroyMenu = &::DestroyMenu;
decltype(&::GetSystemMenu) GetSystemMenu = &::GetSystemMenu;
decltype(&::AppendMenuA) AppendMenuA = &::AppendMenuA;
decltype(&::LoadIconA) LoadIconA = &::LoadIconA;
decltype(&::GetCursorPos) GetCursorPos = &::GetCursorPos;
decltype(&::SetForegroundWindow) SetForegroundWindow = &::SetForegroundWindow;
decltype(&::SendMessageA) SendMessageA = &::SendMessageA;
decltype(&::PostMessageA) PostMessageA = &::PostMessageA;
decltype(&::ShowWindow) ShowWindow = &::ShowWindow;
decltype(&::IsIconic) IsIconic = &::IsIconic;
decltype(&::GetSystemMetrics) GetSystemMetrics = &::GetSystemMetrics;
decltype(&::GetClientRect) GetClientRect = &::GetClientRect;
decltype(&::DrawIcon) DrawIcon = &::DrawIcon;
decltype(&::InitCommonControls) InitCommonControls = &::InitCommonControls;

decltype(&::DialogBoxParamA) DialogBoxParamA = &::DialogBoxParamA;
decltype(&::EndDialog) EndDialog = &::EndDialog;
decltype(&::CallWindowProcA) CallWindowProcA = &::CallWindowProcA;
decltype(&::SetWindowLongA) SetWindowLongA = &::SetWindowLongA;
decltype(&::BeginPaint) BeginPaint = &::BeginPaint;
decltype(&::EndPaint) EndPaint = &::EndPaint;
decltype(&::LoadStringA) LoadStringA = &::LoadStringA;
decltype(&::GetModuleFileNameA) GetModuleFileNameA = &::GetModuleFileNameA;

decltype(&::CoInitialize) CoInitialize = &::CoInitialize;
decltype(&::CoCreateInstance) CoCreateInstance = &::CoCreateInstance;
decltype(&::CoTaskMemFree) CoTaskMemFree = &::CoTaskMemFree;
decltype(&::OleCreatePropertyFrame) OleCreatePropertyFrame = &::OleCreatePropertyFrame;
decltype(&::VarBstrCmp) VarBstrCmp = &::VarBstrCmp;

decltype(&::GetProfileStringA) GetProfileStringA = &::GetProfileStringA;
decltype(&::GetVersionExA) GetVersionExA = &::GetVersionExA;
decltype(&::GetThreadLocale) GetThreadLocale = &::GetThreadLocale;
decltype(&::GetLocaleInfoA) GetLocaleInfoA = &::GetLocaleInfoA;
decltype(&::GetACP) GetACP = &::GetACP;
decltype(&::MultiByteToWideChar) MultiByteToWideChar = &::MultiByteToWideChar;

decltype(&::SysAllocStringLen) SysAllocStringLen = &::SysAllocStringLen;
decltype(&::SysFreeString) SysFreeString = &::SysFreeString;
decltype(&::VariantInit) VariantInit = &::VariantInit;
decltype(&::VariantClear) VariantClear = &::VariantClear;

}  // namespace platform
