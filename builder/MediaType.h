#pragma once
#include "platform/Win.h"

// Frees a media-type record the platform handed out (format block, owning object, record).
// A null record is ignored.
void ReleaseMediaType(AM_MEDIA_TYPE* mediaType);
