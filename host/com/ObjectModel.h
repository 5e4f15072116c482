#pragma once

// The host's object model as the adapter addresses it: the interface identities the tool
// requires of the references it keeps, and the members it calls.
//
// The identities and four-character ids are those of InDesign 2.0. Later versions have
// identities of their own, unknown here, and answer "unknown member" to the four-character ids:
// there a reference is known by the class its type information names, and a member by its full
// name, looked up once.

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

// The classes whose type information stands in for the identities above.
inline constexpr const char* kApplicationClass = "Application";
inline constexpr const char* kDocumentClass = "Document";
inline constexpr const char* kSpreadClass = "Spread";
inline constexpr const char* kPageItemsClass = "PageItems";
inline constexpr const char* kPageClass = "Page";

// By four-character id, else by the full name.
inline constexpr Member kDocs{L"docs", fourCharId("docs"), L"Documents"};
inline constexpr Member kActiveDocument{L"pacd", fourCharId("pacd"), L"ActiveDocument"};
inline constexpr Member kPreferences{L"dcpp", fourCharId("dcpp"), L"DocumentPreferences"};
inline constexpr Member kActiveWindow{L"pacw", fourCharId("pacw"), L"ActiveWindow"};
inline constexpr Member kPageItemsOf{L"pits", fourCharId("pits"), L"PageItems"};
inline constexpr Member kPages{L"pags", fourCharId("pags"), L"Pages"};
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
// Not in 2.0: a page's place in ruler coordinates, and the spread that holds it.
inline constexpr Member kBounds{L"Bounds"};
inline constexpr Member kParent{L"Parent"};

}  // namespace host::com::model
