#pragma once
// Every shared COM test double; see ComDouble.h for the ownership rules.
#include "doubles/FakeClassRegistry.h"
#include "doubles/FakeDevices.h"
#include "doubles/FakeGraph.h"
