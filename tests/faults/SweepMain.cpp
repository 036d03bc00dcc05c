// The sweep's own main: after every sweep has run, the total over all of them.
#include "SweepCheck.h"
#include <gmock/gmock.h>

namespace {
class PrintTotal : public testing::Environment {
    void TearDown() override {
        std::printf("%d fault points, %d survived\n", faults::Total().points, faults::Total().survived);
    }
};
}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    testing::AddGlobalTestEnvironment(new PrintTotal);
    return RUN_ALL_TESTS();
}
