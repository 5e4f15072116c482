// The adapter's conversions of the host's answers, in process: no host needed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "geometry/Orientation.h"
#include "host/HostError.h"
#include "host/com/Dispatch.h"
#include "host/com/HostErrors.h"
#include "host/com/Values.h"

namespace {

using host::Bounds;
using host::HostError;
using host::com::Variant;
using ::testing::HasSubstr;

// An array of `count` elements of `type` from index `low`, holding 10, 20, 30 ...
Variant arrayOf(VARTYPE type, LONG low, ULONG count) {
    SAFEARRAYBOUND bound{count, low};
    host::com::SafeArray array(SafeArrayCreate(type, 1, &bound));
    for (LONG index = low; index < low + static_cast<LONG>(count); ++index) {
        Variant element(10.0 * (index - low + 1));
        if (type == VT_VARIANT) {
            SafeArrayPutElement(array.get(), &index, &element.get());
        } else {
            Variant typed;
            VariantChangeType(typed.put(), &element.get(), 0, type);
            SafeArrayPutElement(array.get(), &index, &typed.get().llVal);
        }
    }
    return array.toVariant(type);
}

std::string failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const HostError& error) {
        return error.what();
    }
    return "no failure";
}

TEST(ComValues, BoundsFromArraysOfNumbersIndexedFromZeroOrOne) {
    const Bounds expected{10, 20, 30, 40};
    for (const VARTYPE type : {VT_R8, VT_VARIANT, VT_R4, VT_I4, VT_I2}) {
        for (const LONG low : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "type " << type << ", from " << low);
            EXPECT_EQ(host::com::boundsOf(arrayOf(type, low, 4).get(), "Rectangle.VisibleBounds"),
                      expected);
        }
    }
}

TEST(ComValues, BoundsThatAreNotFourNumbersAreTheWrongKind) {
    SAFEARRAYBOUND square[2] = {{2, 0}, {2, 0}};
    Variant matrix = host::com::SafeArray(SafeArrayCreate(VT_R8, 2, square)).toVariant(VT_R8);
    Variant words = arrayOf(VT_VARIANT, 0, 4);
    LONG second = 1;
    Variant word;
    word.put()->vt = VT_BSTR;
    word.get().bstrVal = SysAllocString(L"left");
    SafeArrayPutElement(words.get().parray, &second, &word.get());

    const Variant three = arrayOf(VT_R8, 0, 3);
    const Variant five = arrayOf(VT_R8, 0, 5);
    const Variant fromTwo = arrayOf(VT_R8, 2, 4);
    const Variant number(4.0);
    const Variant nothing;
    const struct {
        const char* name;
        const VARIANT* value;
        const char* says;
    } cases[] = {
        {"three numbers", &three.get(), "gave an array of 3 elements, not four numbers"},
        {"five numbers", &five.get(), "gave an array of 5 elements"},
        {"from index 2", &fromTwo.get(), "gave an array indexed from 2"},
        {"two dimensions", &matrix.get(), "gave an array of 2 dimensions"},
        {"text inside", &words.get(), "gave text, not a number"},
        {"a number", &number.get(), "gave a number, not four numbers"},
        {"nothing", &nothing.get(), "gave nothing, not four numbers"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.name);
        EXPECT_THAT(failureOf([&] { host::com::boundsOf(*bad.value, "Line.VisibleBounds"); }),
                    HasSubstr("The host call Line.VisibleBounds " + std::string(bad.says)));
    }
}

TEST(ComValues, BoundsAreSentIndexedFromZeroAsVariantsOrDoubles) {
    const Bounds bounds{1.5, 2, 3, 4};
    const Variant variants = host::com::variantArrayOf(bounds);
    const Variant doubles = host::com::doubleArrayOf(bounds);
    EXPECT_EQ(variants.type(), VT_ARRAY | VT_VARIANT);
    EXPECT_EQ(doubles.type(), VT_ARRAY | VT_R8);
    for (const Variant* sent : {&variants, &doubles}) {
        LONG low = -1;
        SafeArrayGetLBound(sent->get().parray, 1, &low);
        EXPECT_EQ(low, 0);
        EXPECT_EQ(host::com::boundsOf(sent->get(), "read back"), bounds);
    }
    LONG first = 0;
    Variant element;
    SafeArrayGetElement(variants.get().parray, &first, element.put());
    EXPECT_EQ(element.type(), VT_R8);
}

TEST(ComValues, NumbersOfAnyNumericKindButNotText) {
    Variant whole(static_cast<short>(7));
    EXPECT_EQ(host::com::numberOf(whole.get(), "x"), 7.0);
    EXPECT_EQ(host::com::integerOf(Variant(3.0).get(), "x"), 3);
    Variant text;
    text.put()->vt = VT_BSTR;
    text.get().bstrVal = SysAllocString(L"12");
    EXPECT_THAT(failureOf([&] { host::com::numberOf(text.get(), "Documents.Count"); }),
                HasSubstr("Documents.Count gave text, not a number"));
    EXPECT_THAT(
        failureOf([&] { host::com::objectOf(Variant().get(), "Window.ActiveSpread", "a spread"); }),
        HasSubstr("Window.ActiveSpread gave nothing, not a spread"));
}

TEST(ComValues, ACallFailureNamesTheCallTheHostsWordsAndTheCode) {
    EXCEPINFO exception{};
    exception.bstrDescription = SysAllocString(L"The page cannot be duplicated.");
    exception.scode = static_cast<SCODE>(0x80040201);
    EXPECT_EQ(failureOf([&] {
                  host::com::throwCallFailed("Page.Duplicate()", DISP_E_EXCEPTION, &exception);
              }),
              "The host call Page.Duplicate() failed: The page cannot be duplicated "
              "(HRESULT 0x80040201).");
    EXPECT_EQ(exception.bstrDescription, nullptr);  // freed

    EXPECT_THAT(failureOf([] { host::com::throwCallFailed("Rectangle.Tilt", DISP_E_UNKNOWNNAME); }),
                HasSubstr("The host call Rectangle.Tilt failed: "));
    EXPECT_THAT(
        failureOf([] { host::com::throwCallFailed("Window.ActiveSpread", RPC_E_CALL_REJECTED); }),
        HasSubstr("stayed busy and did not take the call Window.ActiveSpread "
                  "(HRESULT 0x80010001)"));
    EXPECT_THAT(
        failureOf([] { host::com::throwCallFailed("Spread.pits", RPC_E_SERVERCALL_RETRYLATER); }),
        HasSubstr("stayed busy and did not take the call Spread.pits (HRESULT 0x8001010A)"));
}

TEST(ComValues, FourCharacterIdsReadTheLettersMostSignificantFirst) {
    EXPECT_EQ(host::com::fourCharId("docs"), 0x646F6373);
    EXPECT_EQ(host::com::fourCharId("pacd"), 0x70616364);
    EXPECT_EQ(host::com::fourCharId("dcpp"), 0x64637070);
    EXPECT_EQ(host::com::fourCharId("pacw"), 0x70616377);
    EXPECT_EQ(host::com::fourCharId("pits"), 0x70697473);
    EXPECT_EQ(host::com::fourCharId("pags"), 0x70616773);
}

}  // namespace

namespace {

// A current host reports angles in (-180, 180]; brought into [0, 360) they give the tool's
// geometry the back side that 2.0's report of the same rotation gives.
TEST(ComValues, AnglesOfALaterHostGiveTheBackSideOf2_0) {
    const struct {
        double reported;  // by a current host
        double original;  // the same rotation as 2.0 reports it
    } cases[] = {{-90, 270}, {-0.0001, 359.9999}, {180, 180}, {-179.9, 180.1},
                 {90, 90},   {-0.0, 0},           {0, 0},     {-1e-300, 0}};
    for (const auto& angle : cases) {
        SCOPED_TRACE(angle.reported);
        const double turned = host::com::angleWithinTurn(angle.reported);
        EXPECT_GE(turned, 0);
        EXPECT_LT(turned, 360);
        EXPECT_FALSE(std::signbit(turned));
        EXPECT_DOUBLE_EQ(turned, angle.original);
        EXPECT_EQ(geometry::AproxAngle(turned), geometry::AproxAngle(angle.original));
        for (const bool leftRight : {true, false}) {
            EXPECT_DOUBLE_EQ(geometry::ReflectAngle(turned, leftRight),
                             geometry::ReflectAngle(angle.original, leftRight));
        }
    }
    // Without the reduction a left-right back side keeps -90, and top-bottom gives 450.
    EXPECT_EQ(geometry::ReflectAngle(-90, true), -90);
    EXPECT_EQ(geometry::ReflectAngle(-90, false), 450);
    EXPECT_EQ(host::com::angleWithinTurn(725), 5);
    EXPECT_EQ(host::com::angleWithinTurn(-360), 0);
}

}  // namespace
