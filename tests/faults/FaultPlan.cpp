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

Shot FaultPlan::Hit(const std::string& point) {
    if (!active) return Shot::Pass;
    names.push_back(point);
    if (calls++ != target) return Shot::Pass;
    fired = true;
    return mode == Mode::SuccessWithObject ? Shot::Adjust : Shot::Fail;
}

const char* ModeName(Mode m) {
    switch (m) {
    case Mode::Fail: return "E_FAIL";
    case Mode::OddSuccess: return "odd success";
    default: return "S_FALSE with the object";
    }
}

}  // namespace faults
