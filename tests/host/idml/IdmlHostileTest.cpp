// Damaged and hostile packages: each refused with a message naming the file
// and the reason, the file untouched and nothing written beside it.

#include <gtest/gtest.h>

#include <functional>

#include "host/HostError.h"
#include "host/contract/Sheet.h"
#include "host/idml/IdmlSheet.h"
#include "host/idml/IdmlTestSupport.h"
#include "host/sla/file/FileTestSupport.h"

namespace idmltest {
namespace {

using Parts = std::vector<ZipEntry>;

ZipEntry& entryNamed(Parts& parts, const std::string& prefix) {
    for (ZipEntry& entry : parts) {
        if (entry.name.rfind(prefix, 0) == 0) {
            return entry;
        }
    }
    throw std::logic_error("no entry " + prefix);
}

void replaceIn(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at == std::string::npos) {
        throw std::logic_error("no " + from);
    }
    text.replace(at, from.size(), to);
}

struct Hostile {
    const char* situation;
    std::function<void(Parts&)> spoil;
    const char* reason;  // a part of the message
};

TEST(IdmlHostile, EachIsRefusedWithItsReasonAndNothingIsWritten) {
    const std::string entity =
        "<!DOCTYPE Document [<!ENTITY secret SYSTEM \"file:///etc/passwd\">]>\n";
    const Hostile cases[] = {
        {"an entry climbing out",
         [](Parts& p) {
             p.push_back({"../evil.xml", "x", true, {}});
         },
         "leads out of the package (\"../evil.xml\")"},
        {"an entry deeper climbing out",
         [](Parts& p) {
             p.push_back({"Stories/../../evil.xml", "x", true, {}});
         },
         "leads out of the package"},
        {"an absolute entry",
         [](Parts& p) {
             p.push_back({"/tmp/evil.xml", "x", true, {}});
         },
         "absolute or foreign path (\"/tmp/evil.xml\")"},
        {"an entry listed twice",
         [](Parts& p) {
             p.push_back({"designmap.xml", "<Document/>", true, {}});
         },
         "lists an entry twice"},
        {"a ZIP bomb",
         [](Parts& p) {
             p.push_back(
                 {"Resources/Big.xml", std::string(1000, ' '), true, std::uint32_t{600} << 20});
         },
         "more than 512 MiB"},
        {"an entry larger than it states",
         [](Parts& p) { entryNamed(p, "Resources/Preferences.xml").statedSize = 10; },
         "Preferences.xml"},
        {"a DTD with an external entity",
         [&entity](Parts& p) {
             replaceIn(entryNamed(p, "designmap.xml").data, "<?aid", entity + "<?aid");
         },
         "\"designmap.xml\" declares a DTD or entities"},
        {"an entity in a story",
         [&entity](Parts& p) {
             replaceIn(entryNamed(p, "Stories/").data, "<idPkg:Story", entity + "<idPkg:Story");
         },
         "declares a DTD or entities"},
        {"no designmap",
         [](Parts& p) { entryNamed(p, "designmap.xml").name = "designmap-old.xml"; },
         "lacks its part \"designmap.xml\""},
        {"a listed spread missing",
         [](Parts& p) { entryNamed(p, "Spreads/").name = "Spreads/elsewhere.xml"; },
         "lists the spread \"Spreads/Spread_u100.xml\", which the package lacks"},
        {"ids that collide",
         [](Parts& p) {
             replaceIn(entryNamed(p, "Spreads/").data, "Self=\"u301\"", "Self=\"u300\"");
         },
         "the id \"u300\" is given to two elements"},
        {"mimetype not first", [](Parts& p) { std::swap(p[0], p[1]); },
         "its first entry is not \"mimetype\""},
        {"another mimetype", [](Parts& p) { p[0].data = "application/zip"; },
         "its \"mimetype\" does not read"},
        {"XML that is not well-formed",
         [](Parts& p) { replaceIn(entryNamed(p, "Spreads/").data, "</Spread>", "</Sprea>"); },
         "\"Spreads/Spread_u100.xml\" is not well-formed XML"},
    };
    const contract::Sheet& sheet = contract::standardSheet();
    for (const Hostile& each : cases) {
        SCOPED_TRACE(each.situation);
        filetest::Scratch scratch;
        Parts parts = sheetParts(sheet);
        each.spoil(parts);
        const auto path = scratch.write("hostile.idml", zipArchive(parts));
        const std::string bytes = readFile(path);
        const std::string listing = scratch.listing();
        try {
            reflectFile(path, true);
            ADD_FAILURE() << "the package was opened";
        } catch (const host::HostError& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Cannot open \"" + path.string() + "\": ", 0), 0u) << message;
            EXPECT_NE(message.find(each.reason), std::string::npos) << message;
        }
        EXPECT_EQ(readFile(path), bytes);
        EXPECT_EQ(scratch.listing(), listing);
    }
    // Not a ZIP archive at all, though it starts as one.
    filetest::Scratch scratch;
    const auto path = scratch.write("broken.idml", std::string("PK\x03\x04", 4) + "not really");
    EXPECT_THROW(reflectFile(path, true), host::HostError);
}

}  // namespace
}  // namespace idmltest
