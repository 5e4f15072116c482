// The main of the test programs that talk to the test host: the program's thread joins a
// single-threaded apartment for the whole run, and the host is ended at its end.

#include <gtest/gtest.h>

#include <stdexcept>

#include "TestHostClient.h"

namespace {

class TestHostEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
            throw std::runtime_error("cannot join a single-threaded apartment");
        }
    }
    void TearDown() override {
        testhost::TestHostClient::end();
        CoUninitialize();
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new TestHostEnvironment());
    return RUN_ALL_TESTS();
}
