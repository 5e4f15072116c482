// Numbers as the .sla host writes and reads them: plain decimals Scribus
// reads back as written, never an exponent, never infinity, and never a
// stand-in value for text that is not a number.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "host/HostError.h"
#include "host/sla/read/SlaNumbers.h"

namespace {

using host::sla::formatNumber;
using host::sla::parseNumber;

struct Written {
    double value;
    const char* text;
};

void PrintTo(const Written& row, std::ostream* os) {
    *os << row.text;
}

class SlaFormatNumber : public testing::TestWithParam<Written> {};

TEST_P(SlaFormatNumber, WritesPlainDigitsThatReadBackAsWritten) {
    const Written& row = GetParam();
    const std::string text = formatNumber(row.value);
    EXPECT_EQ(text, row.text);
    EXPECT_EQ(text.find_first_of("eEin"), std::string::npos);
    const auto back = parseNumber(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(formatNumber(*back), text);
    EXPECT_NEAR(*back, row.value, std::abs(row.value) * 1e-14 + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Values, SlaFormatNumber,
    testing::Values(Written{0.0, "0"}, Written{-0.0, "0"}, Written{6e-17, "0"}, Written{760, "760"},
                    Written{0.5, "0.5"}, Written{-2.25, "-2.25"},
                    Written{282.842712474619, "282.842712474619"},
                    Written{1.0 / 3.0, "0.333333333333333"}, Written{99.99999999999999, "100"},
                    Written{1e15, "1000000000000000"}, Written{1e20, "100000000000000000000"},
                    Written{-1.23456789012345e20, "-123456789012345000000"},
                    Written{1e-5, "0.00001"}, Written{1.234567e-7, "0.0000001234567"},
                    Written{2e-9, "0.000000002"}));

// What 15 significant digits spell, by the C library's own rounding.
double fifteenDigits(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", value);
    return std::strtod(text, nullptr);
}

TEST(SlaNumbers, AnyNumberIsWrittenAsTheShortestPlainTextOfItsFifteenDigits) {
    std::mt19937_64 random(20240607);
    std::uniform_real_distribution<double> everyday(-5000.0, 5000.0);
    int checked = 0;
    for (int i = 0; i < 200000; ++i) {
        // Half spread over every magnitude a double has, half where sheets lie.
        double value = everyday(random);
        if (i % 2 == 0) {
            const std::uint64_t bits = random();
            std::memcpy(&value, &bits, sizeof value);
        }
        if (!std::isfinite(value) || std::abs(value) < 1e-9 || std::abs(value) >= 1e308) {
            continue;
        }
        ++checked;
        const std::string text = formatNumber(value);
        ASSERT_EQ(text.find_first_of("eE+"), std::string::npos) << text;
        ASSERT_EQ(parseNumber(text), fifteenDigits(value)) << text << " for " << value;
        // Shortest: no trailing zero after the point, no point without digits after it.
        if (text.find('.') != std::string::npos) {
            ASSERT_NE(text.back(), '0') << text;
            ASSERT_NE(text.back(), '.') << text;
        }
        const std::string digits = text[0] == '-' ? text.substr(1) : text;
        ASSERT_TRUE(digits.rfind("0.", 0) == 0 || digits[0] != '0') << text;
    }
    EXPECT_GT(checked, 100000);
}

TEST(SlaNumbers, TheLargestNumbersAreWrittenInFullAndReadBack) {
    // 15 digits would round the largest finite number up past the range.
    for (const double value : {DBL_MAX, -DBL_MAX, 1.7976931348623e308}) {
        const std::string text = formatNumber(value);
        EXPECT_EQ(text.size(), value < 0 ? 310U : 309U);
        EXPECT_EQ(parseNumber(text), value) << text;
    }
    EXPECT_EQ(formatNumber(DBL_MAX).substr(0, 17), "17976931348623157");
}

TEST(SlaNumbers, InfinityAndNotANumberAreNeverWritten) {
    for (const double value :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(formatNumber(value), host::HostError) << value;
    }
}

TEST(SlaNumbers, AnAttributeThatIsNoNumberIsAnErrorNotZero) {
    pugi::xml_document xml;
    pugi::xml_node item = xml.append_child("PAGEOBJECT");
    item.append_attribute("XPOS") = "12.5";
    item.append_attribute("YPOS") = "inf";
    item.append_attribute("WIDTH") = "1e+20";
    item.append_attribute("HEIGHT") = "12pt";
    item.append_attribute("gXpos") = "";
    EXPECT_EQ(host::sla::numberAttribute(item, "XPOS"), 12.5);
    EXPECT_EQ(host::sla::numberAttribute(item, "ROT", 7.0), 7.0);  // absent: the default
    EXPECT_EQ(host::sla::numberAttribute(item, "WIDTH"), 1e20);    // Scribus reads exponents
    // Empty, as Scribus may write one the tool can do without: the default too.
    EXPECT_EQ(host::sla::numberAttribute(item, "gXpos", 3.0), 3.0);
    for (const char* name : {"YPOS", "HEIGHT"}) {
        try {
            host::sla::numberAttribute(item, name);
            FAIL() << name << " was read as a number";
        } catch (const host::HostError& error) {
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
    }
}

}  // namespace
