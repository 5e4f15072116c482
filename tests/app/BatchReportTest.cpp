#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/BatchReport.h"
#include "state/PageTable.h"

namespace {

using app::PageRow;
using app::SheetReport;

SheetReport twoPages() {
    SheetReport report;
    report.file = "sheet.sla";
    report.page = 3;
    report.direction = app::Direction::TopBottom;
    report.front = {{1, 50, 100, 350, 300, 0}, {3, 50.25, 400, 250, 700.123456, 90}};
    report.back = {{2, 350, 100, 650, 300, 180}, {4, 450, 400, 649.75, -0.0, 1e-9}};
    report.newPage = 4;
    return report;
}

TEST(BatchReport, TextNamesTheRunAndListsBothSides) {
    std::ostringstream out;
    app::printText(out, twoPages());
    EXPECT_EQ(out.str(),
              "sheet.sla: page 3 turned top-bottom, back side written as page 4\n"
              "front\n"
              "  page        top       left     bottom      right      angle\n"
              "     1         50        100        350        300          0\n"
              "     3      50.25        400        250   700.1235         90\n"
              "back\n"
              "  page        top       left     bottom      right      angle\n"
              "     2        350        100        650        300        180\n"
              "     4        450        400     649.75          0          0\n");

    SheetReport dry = twoPages();
    dry.newPage.reset();
    std::ostringstream dryOut;
    app::printText(dryOut, dry);
    EXPECT_EQ(dryOut.str().substr(0, dryOut.str().find('\n')),
              "sheet.sla: page 3 turned top-bottom, dry run: nothing written");

    SheetReport failed = twoPages();
    failed.error = "Cannot open \"sheet.sla\": the file does not exist.";
    std::ostringstream failedOut;
    app::printText(failedOut, failed);
    EXPECT_EQ(failedOut.str(), "");
}

// The cells of a table holding `values` as tops, one row each.
std::vector<std::string> printedTops(const std::vector<double>& values) {
    SheetReport report = twoPages();
    report.front.clear();
    report.back.clear();
    for (const double value : values) {
        report.front.push_back({1, value, 0, 0, 0, 0});
    }
    std::ostringstream out;
    app::printText(out, report);
    std::istringstream lines(out.str());
    std::vector<std::string> tops;
    std::string line;
    std::getline(lines, line);  // the summary
    std::getline(lines, line);  // "front"
    std::getline(lines, line);  // the heading
    while (std::getline(lines, line) && line != "back") {
        std::istringstream cells(line);
        std::string page, top;
        cells >> page >> top;
        tops.push_back(top);
    }
    return tops;
}

// What printf's exact rounding to four decimals spells, trailing zeros cut.
std::string fourDecimals(double value) {
    char text[512];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string number(text);
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') {
        number.pop_back();
    }
    return number == "-0" ? "0" : number;
}

TEST(BatchReport, TableNumbersAreRoundedToFourDecimalsExactly) {
    // Ties of the decimal text that the double lies just above or below,
    // carries into a new digit, signs, and numbers far past a sheet's size.
    std::vector<double> values = {0.00005,
                                  -0.00005,
                                  0.00015,
                                  0.00025,
                                  1.23445,
                                  2.5e-5,
                                  359.99995,
                                  9.99995,
                                  9.99996,
                                  -9.99996,
                                  99.99999,
                                  -0.99999,
                                  -0.00004,
                                  1e-300,
                                  5e-324,
                                  1e20,
                                  -1e23,
                                  0x1p33,
                                  0x1p33 - 0.00001,
                                  123456.78905,
                                  1.7976931348623157e308};
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> sheet(-5000.0, 5000.0);
    for (int i = 0; i < 20000; ++i) {
        values.push_back(sheet(random));
        values.push_back(std::round(sheet(random) * 1e5) / 1e5);  // ends on a tie half the time
    }
    const std::vector<std::string> tops = printedTops(values);
    ASSERT_EQ(tops.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(tops[i], fourDecimals(values[i])) << values[i];
    }
}

TEST(BatchReport, JsonHoldsEveryValueExactlyAndFailuresByTheirError) {
    SheetReport dry = twoPages();
    dry.newPage.reset();
    SheetReport failed;
    failed.file = "bad.sla";
    failed.error = "Cannot open \"bad.sla\": it is not XML.";
    std::ostringstream out;
    app::printJson(out, {twoPages(), dry, failed});
    const std::string front =
        R"([{"page":1,"top":50,"left":100,"bottom":350,"right":300,"angle":0},)"
        R"({"page":3,"top":50.25,"left":400,"bottom":250,"right":700.123456,"angle":90}])";
    const std::string back =
        R"([{"page":2,"top":350,"left":100,"bottom":650,"right":300,"angle":180},)"
        R"({"page":4,"top":450,"left":400,"bottom":649.75,"right":-0,"angle":1e-09}])";
    EXPECT_EQ(out.str(),
              "[\n"
              R"({"file":"sheet.sla","page":3,"direction":"top-bottom","written":true,)"
              R"("newPage":4,"front":)" +
                  front + R"(,"back":)" + back + "},\n" +
                  R"({"file":"sheet.sla","page":3,"direction":"top-bottom","written":false,)"
                  R"("newPage":null,"front":)" +
                  front + R"(,"back":)" + back + "},\n" +
                  R"({"file":"bad.sla","error":"Cannot open \"bad.sla\": it is not XML."})"
                  "\n]\n");

    std::ostringstream none;
    app::printJson(none, {});
    EXPECT_EQ(none.str(), "[]\n");
}

TEST(BatchReport, JsonStringsEscapeWhatJsonMustAndReplaceBrokenUtf8) {
    struct Case {
        std::string text;
        std::string json;
    };
    const std::vector<Case> cases = {
        {"plain.sla", R"("plain.sla")"},
        {"a \"quoted\" \\ name", R"("a \"quoted\" \\ name")"},
        {"tab\tnew\nline\x01", R"("tab\u0009new\u000aline\u0001")"},
        {"Bögen € 𝄞.sla", "\"Bögen € 𝄞.sla\""},               // valid UTF-8 stays
        {"latin\xE9.sla", R"("latin\ufffd.sla")"},            // a Latin-1 byte
        {"cut\xE2\x82", R"("cut\ufffd\ufffd")"},              // a sequence cut short
        {"over\xC0\xAF", R"("over\ufffd\ufffd")"},            // an overlong form
        {"half\xED\xA0\x80", R"("half\ufffd\ufffd\ufffd")"},  // a surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(app::jsonString(c.text), c.json) << c.json;
    }
}

TEST(BatchReport, AnErrorLineNamesTheFileUnlessTheErrorDoes) {
    EXPECT_EQ(app::errorLine("a.sla", "Cannot open \"a.sla\": it is a folder."),
              "Cannot open \"a.sla\": it is a folder.");
    EXPECT_EQ(app::errorLine("a.sla", "Too many rectangles."), "a.sla: Too many rectangles.");
    // A name that only ends like the file's is another file.
    EXPECT_EQ(app::errorLine("a.sla", "Cannot open \"data.sla\"."),
              "a.sla: Cannot open \"data.sla\".");
    EXPECT_EQ(app::errorLine(std::nullopt, "Please open a publication and try again."),
              "Please open a publication and try again.");
}

TEST(BatchReport, RowsComeFromThePageTableInOrder) {
    state::PageTable table(3);
    for (int row = 0; row < 2; ++row) {
        const auto r = static_cast<std::size_t>(row);
        for (int column = 0; column < 5; ++column) {
            table.set(r, column, 10.0 * row + column);
        }
        table.setNumber(r, 2 * row + 2);
    }
    const std::vector<PageRow> rows = app::pageRows(table, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].page, 4);
    EXPECT_EQ(rows[1].top, 10);
    EXPECT_EQ(rows[1].left, 11);
    EXPECT_EQ(rows[1].bottom, 12);
    EXPECT_EQ(rows[1].right, 13);
    EXPECT_EQ(rows[1].angle, 14);
    EXPECT_THROW(app::pageRows(table, 3), std::exception);  // the spare row is empty
}

}  // namespace
