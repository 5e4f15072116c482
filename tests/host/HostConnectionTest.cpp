#include <gtest/gtest.h>

#include "host/HostConnection.h"
#include "host/HostError.h"

namespace {

class NoDocuments : public host::Application {
public:
    std::shared_ptr<host::Documents> documents() override { throw host::HostError("unused"); }
    std::shared_ptr<host::Document> activeDocument() override { throw host::HostError("unused"); }
    std::shared_ptr<host::Window> activeWindow() override { throw host::HostError("unused"); }
};

TEST(HostConnection, ConnectsToTheLastChoice) {
    host::HostConnection connection;
    auto first = std::make_shared<NoDocuments>();
    auto second = std::make_shared<NoDocuments>();
    connection.choose(host::kProgId, [first] { return first; });
    EXPECT_EQ(connection.connect(), first);
    connection.choose("Other.Application", [second] { return second; });
    EXPECT_EQ(connection.connect(), second);
    EXPECT_EQ(connection.name(), "Other.Application");
}

TEST(HostConnection, ConnectFailures) {
    host::HostConnection connection;
    try {
        connection.connect();
        FAIL() << "connect without a chosen host succeeded";
    } catch (const host::HostError& error) {
        EXPECT_NE(std::string(error.what()).find("InDesign.Application.2.0"), std::string::npos);
    }
    connection.choose(host::kProgId, [] { return std::shared_ptr<host::Application>(); });
    try {
        connection.connect();
        FAIL() << "connect to an adapter without application succeeded";
    } catch (const host::HostError& error) {
        EXPECT_NE(std::string(error.what()).find("InDesign.Application.2.0"), std::string::npos);
    }
}

}  // namespace
