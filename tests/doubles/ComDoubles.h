#pragma once
// Every shared COM test double; see ComDouble.h for the ownership rules.
#include "doubles/ComDouble.h"
#include "doubles/FakeCaptureGraphBuilder.h"
#include "doubles/FakeClassRegistry.h"
#include "doubles/FakeCrossbar.h"
#include "doubles/FakeDevices.h"
#include "doubles/FakeEnum.h"
#include "doubles/FakeFilter.h"
#include "doubles/FakeGraph.h"
#include "doubles/FakePin.h"
#include "doubles/MediaTypes.h"
#include "doubles/TaskMem.h"
