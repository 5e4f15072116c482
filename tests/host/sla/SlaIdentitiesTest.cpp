// Names in use: read from the document's text or kept by the identities
// themselves, they stay taken for the whole session.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "host/sla/index/SlaIdentities.h"

namespace {

using host::sla::SlaIdentities;

TEST(SlaIdentities, NamesReadStayTakenWhenTheirTextIsWrittenOver) {
    std::string text = "<D><I ANNAME=\"Page 1\" ItemID=\"7\"/><I ANNAME=\"Page 3\"/></D>";
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_buffer_inplace(text.data(), text.size()));
    SlaIdentities identities;
    identities.collect(xml.child("D"), text.data(), text.data() + text.size());
    EXPECT_TRUE(identities.nameTaken("Page 1"));
    EXPECT_TRUE(identities.nameTaken("Page 3"));
    EXPECT_FALSE(identities.nameTaken("Page 2"));
    EXPECT_EQ(identities.freshId(), 8);

    // The first name's text is about to be overwritten in place.
    const char* first = xml.child("D").child("I").attribute("ANNAME").value();
    identities.release(first);
    std::fill_n(text.begin() + (first - text.data()), 6, 'X');
    EXPECT_TRUE(identities.nameTaken("Page 1"));
    EXPECT_FALSE(identities.nameTaken("XXXXXX"));
}

// Tens of thousands of names of its own (a large sheet's copies), long
// ones among them, each kept as it was given.
TEST(SlaIdentities, NamesOfItsOwnAreKeptWhole) {
    SlaIdentities identities;
    identities.start(nullptr, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < 40000; ++i) {
        names.push_back("Page " + std::to_string(i) + " p2");
    }
    names.push_back(std::string(100000, 'x'));
    names.push_back("");
    for (std::size_t i = 0; i < 3; ++i) {
        names.push_back(std::string(70000 + i, 'y') + "!");
    }
    for (const std::string& name : names) {
        EXPECT_FALSE(identities.nameTaken(name));
        identities.takeName(name);
    }
    for (const std::string& name : names) {
        ASSERT_TRUE(identities.nameTaken(name)) << name.substr(0, 20);
    }
    EXPECT_FALSE(identities.nameTaken("Page 40000 p2"));
    EXPECT_FALSE(identities.nameTaken(std::string(99999, 'x')));
    EXPECT_FALSE(identities.nameTaken("Page 1 p"));
}

}  // namespace
