// The window's own messages: painting and the system menu's About entry.
#include "TrayBench.h"

using Journal = std::vector<std::string>;
using TrayWindow = TrayBench;

TEST_F(TrayWindow, MinimisedPaintCentresTheIconTruncatingTowardZero) {
    struct Case {
        int width, height, iconWidth, iconHeight, x, y;
    } cases[] = {{36, 36, 32, 32, 2, 2}, {30, 40, 32, 32, 0, 4}, {32, 20, 32, 32, 0, -5}, {100, 33, 48, 32, 26, 1}};
    Start();
    shell.iconic = TRUE;
    for (const Case& c : cases) {
        shell.client = {0, 0, c.width, c.height};
        shell.iconWidth = c.iconWidth;
        shell.iconHeight = c.iconHeight;
        Send(WM_PAINT);
        char draw[64];
        std::snprintf(draw, sizeof draw, "DrawIcon(00004000 %d %d 00003000)", c.x, c.y);
        EXPECT_EQ(shell.journal, (Journal{"BeginPaint(00001000)", "SendMessage(00001000 0x27 0x4000 0x0)", draw,
                                          "EndPaint(00001000)"}));
    }
}

TEST_F(TrayWindow, PaintHidesOrShowsByShowStateThenPaintsByDefault) {
    Start();
    EXPECT_EQ(dialog.showState, 1);
    Send(WM_PAINT);
    EXPECT_EQ(shell.journal, (Journal{"ShowWindow(00001000 0)", "Default(00005000 00001000 0xf 0x0 0x0)"}));
    dialog.showState = 0;
    Send(WM_PAINT);
    EXPECT_EQ(shell.journal, (Journal{"ShowWindow(00001000 5)", "Default(00005000 00001000 0xf 0x0 0x0)"}));
}

TEST_F(TrayWindow, AboutBoxForSixteenToThirtyOneDefaultForTheRest) {
    Start();
    for (UINT id : {16u, 17u, 24u, 31u, 0x10010u, 0xFFFF001Fu}) {
        Send(WM_SYSCOMMAND, id, 0x00050006);
        EXPECT_EQ(shell.journal, Journal{"DialogBox(100 owner=00001000)"}) << std::hex << id;
    }
    for (UINT id : {UINT(SC_MOVE), UINT(SC_CLOSE), UINT(SC_KEYMENU), UINT(SC_MINIMIZE), 15u, 32u, 0x110u}) {
        Send(WM_SYSCOMMAND, id, 0x00050006);
        char call[80];
        std::snprintf(call, sizeof call, "Default(00005000 00001000 0x112 0x%x 0x50006)", id);
        EXPECT_EQ(shell.journal, Journal{call});
    }
}
