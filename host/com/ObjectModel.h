#pragma once

// The host's object model as the adapter addresses it: the interface identities the tool
// requires of the references it keeps, and the members it calls.

#include "host/com/Dispatch.h"

namespace host::com::model {

inline constexpr GUID kApplication{
    0xABD4CBB2, 0x0CFE, 0x11D1, {0x80, 0x1D, 0x00, 0x60, 0xB0, 0x3C, 0x02, 0xE4}};
inline constexpr GUID kDocument{
    0x1A5E8DB4, 0x3443, 0x11D1, {0x80, 0x3C, 0x00, 0x60, 0xB0, 0x3C, 0x02, 0xE4}};
inline constexpr GUID kSpread{
    0x2407F2DA, 0x4E36, 0x11D1, {0x80, 0x47, 0x00, 0x60, 0xB0, 0x3C, 0x02, 0xE4}};
inline constexpr GUID kPageItems{
    0xD7D2C131, 0xD321, 0x11D1, {0xAA, 0xA2, 0x00, 0xC0, 0x4F, 0xA3, 0x49, 0xC7}};

// By four-character id.
inline constexpr Member kDocs{L"docs", fourCharId("docs")};
inline constexpr Member kActiveDocument{L"pacd", fourCharId("pacd")};
inline constexpr Member kPreferences{L"dcpp", fourCharId("dcpp")};
inline constexpr Member kActiveWindow{L"pacw", fourCharId("pacw")};
inline constexpr Member kPageItemsOf{L"pits", fourCharId("pits")};
inline constexpr Member kPages{L"pags", fourCharId("pags")};
inline constexpr Member kNewEnum{L"_NewEnum", DISPID_NEWENUM};
// By name.
inline constexpr Member kCount{L"Count"};
inline constexpr Member kActiveSpread{L"ActiveSpread"};
inline constexpr Member kItem{L"Item"};
inline constexpr Member kPageWidth{L"pageWidth"};
inline constexpr Member kPageHeight{L"pageHeight"};
inline constexpr Member kDuplicate{L"Duplicate"};
inline constexpr Member kUngroup{L"Ungroup"};
inline constexpr Member kVisibleBounds{L"VisibleBounds"};
inline constexpr Member kRotationAngle{L"RotationAngle"};

}  // namespace host::com::model
