// Kernel-streaming identifiers that the platform's GUID library (ksguid) lacks.
#include "platform/Win.h"

extern "C" const GUID KSCATEGORY_MULTIPLEXER = {STATIC_KSCATEGORY_MULTIPLEXER};
