#include <cstdlib>
#include <cstring>

#include "platform/Afx.h"
#include "platform/Seam.h"

CString::~CString() { std::free(text); }

CString& CString::operator=(const char* value) {
    Assign(value, value ? std::strlen(value) : 0);
    return *this;
}

void CString::Assign(const char* value, size_t length) {
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy) {
        if (length) std::memcpy(copy, value, length);
        copy[length] = '\0';
    }
    std::free(text);
    text = copy;
}

BOOL CString::LoadString(UINT id) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA((id >> 4) + 1), RT_STRING);
    int size = 256;
    char* buffer = nullptr;
    BOOL loaded = FALSE;
    for (;;) {
        char* larger = static_cast<char*>(std::realloc(buffer, static_cast<size_t>(size)));
        if (!larger) break;
        buffer = larger;
        int length = platform::LoadStringA(module, id, buffer, size);
        if (length <= 0) break;
        // A full buffer may mean a cut string: try again with more room.
        if (length < size - 1) {
            Assign(buffer, static_cast<size_t>(length));
            loaded = text != nullptr;
            break;
        }
        size *= 2;
    }
    std::free(buffer);
    if (!loaded) {
        std::free(text);
        text = nullptr;
    }
    return loaded;
}
