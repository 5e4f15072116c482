#pragma once

// The built-in pictures: PNG renderings of the artwork embedded as resources
// (listed in Pictures.cmake). A picture is drawn at any size by scaling the
// smallest rendering that covers that size, once per size.

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "window/Toolkit.h"
#include "window/win32/Bitmap.h"

namespace window::win32 {

// One embedded rendering of a picture, in pixels.
struct Rendering {
    std::string_view picture;
    int width;
    int height;
    int resource;  // RCDATA id
    bool transparent;
};

// Every rendering, grouped by picture, each picture's design size first.
std::span<const Rendering> renderings();

// The renderings of one picture; throws std::logic_error for an unknown name.
std::vector<Rendering> renderingsOf(std::string_view picture);

// The rendering to scale from for a width x height drawing: the smallest
// that is at least that large both ways, or else the largest.
const Rendering& chooseRendering(std::span<const Rendering> choices, int width, int height);

// The resource id of the executable's icon.
inline constexpr int kIconResource = 1;

}  // namespace window::win32

namespace window {

// A picture as the Win32 window holds it; controls showing the same picture share one.
class PictureData {
public:
    explicit PictureData(std::string artwork);
    const std::string& artwork() const { return m_artwork; }
    int designWidth() const { return m_renderings.front().width; }
    int designHeight() const { return m_renderings.front().height; }
    // The picture stretched to width x height pixels (both > 0), kept for reuse.
    // Needs a live GdiplusSession the first time a size is drawn.
    const win32::Bitmap& at(int width, int height) const;

private:
    std::string m_artwork;
    std::vector<win32::Rendering> m_renderings;
    mutable std::map<std::pair<int, int>, win32::Bitmap> m_scaled;
};

}  // namespace window

namespace window::win32 {

// A new picture of the named artwork; throws std::logic_error for an unknown name.
Picture makePicture(std::string artwork);

}  // namespace window::win32
