#include <gtest/gtest.h>

#include "host/HostError.h"
#include "host/HostRegistry.h"

namespace {

class NoDocuments : public host::Application {
public:
    std::shared_ptr<host::Documents> documents() override { throw host::HostError("unused"); }
    std::shared_ptr<host::Document> activeDocument() override { throw host::HostError("unused"); }
    std::shared_ptr<host::Window> activeWindow() override { throw host::HostError("unused"); }
};

TEST(HostRegistry, ConnectsByProgId) {
    host::HostRegistry registry;
    auto app = std::make_shared<NoDocuments>();
    registry.add(host::kProgId, [app] { return app; });
    EXPECT_EQ(registry.connect("InDesign.Application.2.0"), app);
}

TEST(HostRegistry, ConnectFailures) {
    host::HostRegistry registry;
    EXPECT_THROW(registry.connect(host::kProgId), host::HostError);
    registry.add("Other.Application", [] { return std::make_shared<NoDocuments>(); });
    EXPECT_THROW(registry.connect(host::kProgId), host::HostError);
    registry.add(host::kProgId, [] { return std::shared_ptr<host::Application>(); });
    try {
        registry.connect(host::kProgId);
        FAIL() << "connect to an adapter without application succeeded";
    } catch (const host::HostError& error) {
        EXPECT_NE(std::string(error.what()).find("InDesign.Application.2.0"), std::string::npos);
    }
}

}  // namespace
