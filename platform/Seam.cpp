#include "platform/Seam.h"

namespace platform {

#define NAVOLET_DEFINE_OPERATION(name) decltype(&::name) name = &::name;
NAVOLET_PLATFORM_OPERATIONS(NAVOLET_DEFINE_OPERATION)
#undef NAVOLET_DEFINE_OPERATION

}  // namespace platform
