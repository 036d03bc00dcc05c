#pragma once
// Counts the platform calls a run makes and fails the k-th one, so a sweep can walk every
// call of a path without a hand-made list: a recording run yields the points, then each
// point is armed in turn.
#include "platform/Win.h"
#include <string>
#include <vector>

namespace faults {

enum class Mode {
    Fail,              // E_FAIL, no object handed out
    OddSuccess,        // a success code (S_FALSE unless the call names another) and no object
    SuccessWithObject, // the call does its work and hands out its objects, but says S_FALSE
};

// What one call is to do.
enum class Shot {
    Pass,    // answer as usual
    Fail,    // answer with the plan's result and no object
    Adjust,  // answer as usual, then with S_FALSE in place of S_OK
};

class FaultPlan {
public:
    // Counts and names the calls, fails none.
    void Record();
    // Fails call number k (0-based) of the coming run.
    void Arm(int k, Mode m);
    // Neither counts nor fails.
    void Off() { active = false; }

    // Called at the top of every faultable call.
    Shot Hit(const std::string& point);
    // The usual answer of a call, adjusted when its shot says so.
    static HRESULT Pass(Shot shot, HRESULT hr) { return shot == Shot::Adjust && hr == S_OK ? S_FALSE : hr; }
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
