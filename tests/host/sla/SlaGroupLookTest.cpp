// Groups with a look of their own (opacity, blend mode, a clip that cuts, a
// shadow) as a capture dissolves them: one holding a page rectangle or a line
// still goes, handing its opacity and blend mode to its members; one holding
// neither stays whole.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "SlaTestSupport.h"
#include "host/Capture.h"

namespace {

// A 100 × 100 item at (x, y) in its group's frame, which lies at (200, 100).
std::string member(const std::string& name, const std::string& kind, double x, double y,
                   const std::string& extra = "") {
    const std::string type = kind == "Line"      ? "PTYPE=\"5\""
                             : kind == "Text"    ? "PTYPE=\"4\" FRTYPE=\"0\""
                             : kind == "Ellipse" ? "PTYPE=\"6\" FRTYPE=\"1\""
                                                 : "PTYPE=\"6\" FRTYPE=\"0\"";
    std::ostringstream text;
    text << "   <PAGEOBJECT ANNAME=\"" << name << "\" " << type << " OwnPage=\"0\" XPOS=\""
         << 200 + x << "\" YPOS=\"" << 100 + y << "\" WIDTH=\"100\" HEIGHT=\"100\" gXpos=\"" << x
         << "\" gYpos=\"" << y << "\" gWidth=\"300\" gHeight=\"300\" " << extra << "/>\n";
    return text.str();
}

std::string group(const std::string& name, const std::string& extra, const std::string& members) {
    return "  <PAGEOBJECT ANNAME=\"" + name +
           "\" PTYPE=\"12\" OwnPage=\"0\" XPOS=\"200\" YPOS=\"100\" WIDTH=\"300\" "
           "HEIGHT=\"300\" groupWidth=\"300\" groupHeight=\"300\" "
           "path=\"M0 0 L300 0 L300 300 L0 300 L0 0 Z\" " +
           extra + ">\n" + members + "  </PAGEOBJECT>\n";
}

struct LookCase {
    const char* situation;
    std::string items;
    // After the capture: every top-level item as "name type", in order, and
    // attributes expected on some of them ("name@attribute" -> value, "" for absent).
    std::vector<std::string> topLevel;
    std::map<std::string, std::string> attributes;
};

void PrintTo(const LookCase& row, std::ostream* os) {
    *os << row.situation;
}

class SlaGroupLook : public testing::TestWithParam<LookCase> {};

TEST_P(SlaGroupLook, CaptureKeepsWhatThePageShows) {
    const LookCase& row = GetParam();
    slatest::ScratchFolder folder;
    const auto path = folder.write("groups.sla", slatest::documentWith(row.items));
    const auto host = host::sla::SlaHost::open({path});
    const auto spread = host->activeWindow()->activeSpread();
    host::dissolveGroups(*spread->pageItems());

    std::vector<std::string> topLevel;
    std::map<std::string, pugi::xml_node> nodes;
    for (const auto& item : slatest::itemsOf(*spread)) {
        topLevel.push_back(item->name() + " " + item->typeName());
        nodes[item->name()] = item->node();
    }
    EXPECT_EQ(topLevel, row.topLevel);
    for (const auto& [key, value] : row.attributes) {
        const std::string name = key.substr(0, key.find('@'));
        ASSERT_EQ(nodes.count(name), 1U) << key;
        EXPECT_EQ(nodes[name].attribute(key.substr(key.find('@') + 1).c_str()).value(), value)
            << key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, SlaGroupLook,
    testing::Values(LookCase{"OpacityPassesToTheMembers",
                             group("G", "TransValue=\"0.5\"",
                                   member("R", "Rectangle", 0, 0) +
                                       member("E", "Ellipse", 150, 150, "TransValue=\"0.2\"")),
                             {"R Rectangle", "E Oval"},
                             {{"R@TransValue", "0.5"},
                              {"R@TransValueS", "0.5"},
                              {"E@TransValue", "0.6"},
                              {"E@TransValueS", "0.5"}}},
                    LookCase{"BlendModePassesToMembersWithoutTheirOwn",
                             group("G", "TransBlend=\"3\"",
                                   member("L", "Line", 0, 0) +
                                       member("R", "Rectangle", 150, 150, "TransBlend=\"5\"")),
                             {"L Line", "R Rectangle"},
                             {{"L@TransBlend", "3"},
                              {"L@TransBlendS", "3"},
                              {"R@TransBlend", "5"},
                              {"R@TransValue", ""}}},
                    LookCase{"OpacityOverNoRectangleKeepsTheGroup",
                             group("G", "TransValue=\"0.5\"",
                                   member("T", "Text", 0, 0) + member("E", "Ellipse", 150, 150)),
                             {"G EffectGroup"},
                             {{"G@TransValue", "0.5"}}},
                    LookCase{
                        "ClipThatCutsKeepsTheGroup",
                        group("G", "groupClips=\"1\"",
                              member("E", "Ellipse", -50, 0) + member("F", "Ellipse", 150, 150)),
                        {"G EffectGroup"},
                        {}},
                    LookCase{"ShadowKeepsTheGroup",
                             group("G", "HASSOFTSHADOW=\"1\"", member("E", "Ellipse", 0, 0)),
                             {"G EffectGroup"},
                             {}},
                    LookCase{"ClipThatCutsNothingIsNoLook",
                             group("G", "groupClips=\"1\"",
                                   member("E", "Ellipse", 1, 1, "PCOLOR2=\"Black\" PWIDTH=\"2\"") +
                                       member("F", "Ellipse", 190, 190)),
                             {"E Oval", "F Oval"},
                             {{"E@TransValue", ""}}},
                    // The outer group must go; the opacity it hands down makes the inner one a look
                    // of its own, holding no rectangle, so the inner group stays whole.
                    LookCase{"OpacityHandedToAnInnerGroupKeepsIt",
                             group("Outer", "TransValue=\"0.5\"",
                                   member("R", "Rectangle", 0, 0) +
                                       "   <PAGEOBJECT ANNAME=\"Inner\" PTYPE=\"12\" OwnPage=\"0\" "
                                       "XPOS=\"350\" YPOS=\"250\" WIDTH=\"100\" HEIGHT=\"100\" "
                                       "groupWidth=\"100\" groupHeight=\"100\" gXpos=\"150\" "
                                       "gYpos=\"150\" gWidth=\"300\" gHeight=\"300\">\n" +
                                       member("E", "Ellipse", 0, 0) + "   </PAGEOBJECT>\n"),
                             {"R Rectangle", "Inner EffectGroup"},
                             {{"R@TransValue", "0.5"}, {"Inner@TransValue", "0.5"}}}),
    [](const testing::TestParamInfo<LookCase>& param) { return param.param.situation; });

}  // namespace
