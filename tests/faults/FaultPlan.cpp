#include "FaultPlan.h"

namespace faults {

FaultPlan plan;

void FaultPlan::Record() { Arm(-1, Mode::Fail); }

void FaultPlan::Arm(int k, Mode m) {
    active = true;
    target = k;
    mode = m;
    calls = 0;
    fired = false;
    names.clear();
}

bool FaultPlan::Hit(const std::string& point) {
    if (!active) return false;
    names.push_back(point);
    if (calls++ != target) return false;
    fired = true;
    return true;
}

const char* ModeName(Mode m) { return m == Mode::Fail ? "E_FAIL" : "odd success"; }

}  // namespace faults
