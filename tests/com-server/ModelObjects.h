#pragma once

// The host's objects over the in-memory host: each wraps the object of host/Host.h that the
// in-memory host hands out, so that geometry, the call log and injected failures are its.

#include <memory>

#include "ModelObject.h"
#include "host/Host.h"

namespace testhost {

// The application object: it always answers for the host's current documents.
IDispatch* makeApplication();
IDispatch* makeSpread(std::shared_ptr<host::Spread> spread);
IDispatch* makePageItems(std::shared_ptr<host::PageItems> items);

// Member ids the tool calls by name; the type library gives the same.
namespace ids {
inline constexpr DISPID kDocs = 0x646F6373;
inline constexpr DISPID kActiveDocument = 0x70616364;
inline constexpr DISPID kActiveWindow = 0x70616377;
inline constexpr DISPID kCount = 0x636E7473;
inline constexpr DISPID kPreferences = 0x64637070;
inline constexpr DISPID kPageWidth = 0x70776964;
inline constexpr DISPID kPageHeight = 0x70686774;
inline constexpr DISPID kActiveSpread = 0x61637370;
inline constexpr DISPID kPageItems = 0x70697473;
inline constexpr DISPID kPages = 0x70616773;
inline constexpr DISPID kDuplicate = 0x6475706C;
inline constexpr DISPID kVisibleBounds = 0x76626E64;
inline constexpr DISPID kRotationAngle = 0x726F7461;
inline constexpr DISPID kUngroup = 0x756E6772;
// The current profile only, by these ids in both libraries.
inline constexpr DISPID kBounds = 0x100C;
inline constexpr DISPID kParent = 0x100D;

// The id above of a member the current profile's library names `id`; DISPID_UNKNOWN for an id it
// does not have, four-character ones among them.
DISPID fromCurrent(DISPID id);
}  // namespace ids

}  // namespace testhost
