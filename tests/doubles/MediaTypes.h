#pragma once
// Media types as a test writes them, and the task-allocated copies the platform hands out.
#include "platform/Win.h"
#include <vector>

namespace doubles {

struct MediaType {
    GUID majortype = GUID_NULL;
    GUID subtype = GUID_NULL;
    GUID formattype = GUID_NULL;
    std::vector<BYTE> format;
};

// A CoTaskMemAlloc'd AM_MEDIA_TYPE (format block allocated the same way), as
// IEnumMediaTypes::Next hands it out. Tracked by TaskMemWatch.
AM_MEDIA_TYPE* NewMediaType(const MediaType& type);

}  // namespace doubles
