#pragma once
// Pin mediums: the null medium means a pin has no hardware medium; a hardware medium is
// one on a set other than the null set and the standard kernel-streaming set.
#include "platform/Win.h"

const REGPINMEDIUM NullMedium = {GUID_NULL, 0, 0};

inline bool IsHardwareMedium(const GUID& set) {
    return !IsEqualGUID(set, GUID_NULL) && !IsEqualGUID(set, KSMEDIUMSETID_Standard);
}
