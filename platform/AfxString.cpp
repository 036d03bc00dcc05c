#include "platform/Afx.h"
#include "platform/Seam.h"

BOOL CString::LoadString(UINT id) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA((id >> 4) + 1), RT_STRING);
    std::string buffer(256, '\0');
    for (;;) {
        int length = platform::LoadStringA(module, id, &buffer[0], static_cast<int>(buffer.size()));
        if (length <= 0) {
            text.clear();
            return FALSE;
        }
        // A full buffer may mean a cut string: try again with more room.
        if (length < static_cast<int>(buffer.size()) - 1) {
            text.assign(buffer.data(), length);
            return TRUE;
        }
        buffer.resize(buffer.size() * 2);
    }
}
