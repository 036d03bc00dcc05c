#pragma once
// Resource identifiers, shared by the resource script and the program.
#define IDM_ABOUTBOX     0x0010
#define IDD_ABOUTBOX     100
#define IDS_ABOUTBOX     101
#define IDD_TRAY_DIALOG  102
#define IDR_MAINFRAME    128
#define IDR_TRAY_MENU    129
#define ID_TRAY_LAUNCH   32771
#define ID_TRAY_EXIT     32773

#ifndef IDC_STATIC
#define IDC_STATIC       (-1)
#endif
