#pragma once

// Controls that show nothing: each keeps what the tool sets on it (window
// units, as set), so the window's logic runs unchanged without a display.
// Pictures are the design's own pictures (window/Design.h), passed on by
// identity: this backend never draws one.

#include <string_view>

#include "window/ControlRecords.h"
#include "window/MarkerRecords.h"
#include "window/Toolkit.h"
#include "window/headless/UnkeptArray.h"

namespace window::headless {

// The design's picture named `name`; every call for one name gives the same
// picture. Throws std::logic_error for a name the design does not have.
Picture designPicture(std::string_view name);

// The design name of a picture from designPicture(); empty for no picture.
std::string_view pictureName(const Picture& picture);

// Controls are records (window/ControlRecords.h) that tell no one of a change.
using HeadlessPicture = PictureRecord<>;
using HeadlessOutline = RecordControl<Outline>;
using HeadlessMarkers = MarkerRecords<>;
// Markers that nothing will show or read back (UnkeptArray.h).
using UnkeptMarkers = MarkerRecords<Geometry, UnkeptArray>;

}  // namespace window::headless
