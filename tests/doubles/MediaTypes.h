#pragma once
// Media types as a test writes them, and the task-allocated copies the platform hands out.
#include "platform/Win.h"
#include <utility>
#include <vector>

namespace doubles {

struct MediaType {
    MediaType(const GUID& majortype = GUID_NULL, const GUID& subtype = GUID_NULL,
              const GUID& formattype = GUID_NULL, std::vector<BYTE> format = {})
        : majortype(majortype), subtype(subtype), formattype(formattype), format(std::move(format)) {}
    GUID majortype;
    GUID subtype;
    GUID formattype;
    std::vector<BYTE> format;
};

// A CoTaskMemAlloc'd AM_MEDIA_TYPE (format block allocated the same way), as
// IEnumMediaTypes::Next hands it out. Tracked by TaskMemWatch.
AM_MEDIA_TYPE* NewMediaType(const MediaType& type);

}  // namespace doubles
