#include <gtest/gtest.h>

#include "TestHostClient.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    testhost::addTestHostEnvironment();
    return RUN_ALL_TESTS();
}
