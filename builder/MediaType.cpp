#include "builder/MediaType.h"

#include "platform/Seam.h"

void ReleaseMediaType(AM_MEDIA_TYPE* mediaType) {
    if (!mediaType) return;
    // The length alone decides: a zero length leaves the format pointer untouched.
    if (mediaType->cbFormat != 0) {
        platform::CoTaskMemFree(mediaType->pbFormat);
        mediaType->cbFormat = 0;
        mediaType->pbFormat = nullptr;
    }
    if (mediaType->pUnk) {
        mediaType->pUnk->Release();
        mediaType->pUnk = nullptr;
    }
    platform::CoTaskMemFree(mediaType);
}
