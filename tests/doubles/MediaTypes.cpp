#include "doubles/MediaTypes.h"
#include "doubles/TaskMem.h"
#include <cstring>

namespace doubles {

AM_MEDIA_TYPE* NewMediaType(const MediaType& type) {
    auto* mt = static_cast<AM_MEDIA_TYPE*>(TaskAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!mt) return nullptr;
    std::memset(mt, 0, sizeof *mt);
    mt->majortype = type.majortype;
    mt->subtype = type.subtype;
    mt->formattype = type.formattype;
    mt->bFixedSizeSamples = TRUE;
    mt->lSampleSize = 1;
    if (!type.format.empty()) {
        mt->pbFormat = static_cast<BYTE*>(TaskAlloc(type.format.size()));
        if (mt->pbFormat) {
            std::memcpy(mt->pbFormat, type.format.data(), type.format.size());
            mt->cbFormat = static_cast<ULONG>(type.format.size());
        }
    }
    return mt;
}

}  // namespace doubles
