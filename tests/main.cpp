// The test program's entry: COM on this thread for the whole run, as the tray window has it.
#include <gtest/gtest.h>

#include "platform/Win.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    CoInitialize(nullptr);
    return RUN_ALL_TESTS();
}
