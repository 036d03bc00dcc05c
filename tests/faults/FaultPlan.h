#pragma once
// Counts the platform calls a run makes and fails the k-th one, so a sweep can walk every
// call of a path without a hand-made list: a recording run yields the points, then each
// point is armed in turn.
#include "platform/Win.h"
#include <string>
#include <vector>

namespace faults {

enum class Mode {
    Fail,        // E_FAIL, no object handed out
    OddSuccess,  // a success code (S_FALSE unless the call names another) and no object
};

class FaultPlan {
public:
    // Counts and names the calls, fails none.
    void Record();
    // Fails call number k (0-based) of the coming run.
    void Arm(int k, Mode m);
    // Neither counts nor fails.
    void Off() { active = false; }

    // Called at the top of every faultable call: true when this is the one to fail.
    bool Hit(const std::string& point);
    // The result the faulted call returns; oddSuccess is used in OddSuccess mode.
    HRESULT Result(HRESULT oddSuccess = S_FALSE) const { return mode == Mode::Fail ? E_FAIL : oddSuccess; }
    bool Fired() const { return fired; }
    const std::vector<std::string>& Points() const { return names; }

private:
    bool active = false;
    int target = -1;
    Mode mode = Mode::Fail;
    int calls = 0;
    bool fired = false;
    std::vector<std::string> names;
};

extern FaultPlan plan;

const char* ModeName(Mode m);

}  // namespace faults
