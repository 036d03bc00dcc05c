#pragma once
// What a sweep needs around each armed run: the failures GoogleTest has seen so far (a
// double that was released too often or leaked reports through it), and the tally.
#include "FaultPlan.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace faults {

inline int FailuresSoFar() {
    const testing::TestResult* r = testing::UnitTest::GetInstance()->current_test_info()->result();
    int n = 0;
    for (int i = 0; i < r->total_part_count(); ++i) n += r->GetTestPartResult(i).failed() ? 1 : 0;
    return n;
}

// The calls of a path by name, in order of first appearance, with how often each came.
inline void PrintCalls(const std::vector<std::string>& calls) {
    std::vector<std::pair<std::string, int>> seen;
    for (const std::string& c : calls) {
        auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == c; });
        if (it == seen.end())
            seen.emplace_back(c, 1);
        else
            ++it->second;
    }
    std::string line = " ";
    for (const auto& s : seen) {
        std::string item = " " + s.first + (s.second > 1 ? " x" + std::to_string(s.second) : "");
        if (line.size() + item.size() > 100) {
            std::printf("%s\n", line.c_str());
            line = " ";
        }
        line += item;
    }
    std::printf("%s\n", line.c_str());
}

struct Tally {
    int points = 0;
    int survived = 0;
    void Count(bool ok, int k, Mode mode, const std::string& name) {
        ++points;
        if (ok)
            ++survived;
        else
            std::printf("  did not survive: call %d %s, %s\n", k, name.c_str(), ModeName(mode));
    }
};

// Every sweep of the run adds its points here; the total is printed when the run ends.
inline Tally& Total() {
    static Tally total;
    return total;
}

// Prints one sweep's tally and adds it to the total.
inline void Report(const char* sweep, const Tally& t) {
    std::printf("%s: %d fault points, %d survived\n", sweep, t.points, t.survived);
    Total().points += t.points;
    Total().survived += t.survived;
}

}  // namespace faults
