#pragma once

// The designed window, written once for every toolkit: the window's own
// constants, every control with its name, kind, place, size and picture at
// load, and the pictures themselves. Places and sizes are window units (pixels
// of the client area from its top-left corner, x right, y down).

#include <span>
#include <string_view>

#include "version/Version.h"

namespace window {

inline constexpr const char* kCaption = "Quarvel";                        // the window's title
inline constexpr const char* kApplicationTitle = version::kProgramTitle;  // the message box caption
inline constexpr int kClientWidth = 820;
inline constexpr int kClientHeight = 558;
inline constexpr float kTwipsPerPixel = 15.0f;  // the window's Left and Top are twips
// Number boxes: regular weight, black text centred on flat white.
inline constexpr const char* kNumberFont = "Arial";
inline constexpr double kNumberPointSize = 6.75;

enum class ControlKind {
    ShapeOutline,   // rectangle outline without fill; takes no mouse input
    PictureBox,     // picture stretched to the control's size
    NumberBox,      // single-line page-number box
    PictureSource,  // hidden picture source: never shown, only its picture is read
};

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlDesign {
    std::string_view name;  // design name; for an array, the array's name
    ControlKind kind;
    bool array;  // element 0 of a control array: Image1, Text3, Image2, Text4
    Box box;     // sources: none
    // Picture controls: the picture shown at load, empty for none; a source: its
    // own picture, named as the source.
    std::string_view picture;
    std::string_view text;  // number boxes: the design text
};

// Every control, in stacking order from the bottom; sources last.
std::span<const ControlDesign> designedControls();

// The control named `name`; throws std::logic_error for an unknown name.
const ControlDesign& controlDesign(std::string_view name);

// Opaque pictures paint their whole area (24-bit images); the others are
// drawings on a transparent ground.
enum class Ground { Opaque, Transparent };

// A built-in picture: its name, its vector source under window/artwork/, and
// its design size in pixels. Page icons have no pixel size of their own;
// theirs is the page's proportions, 480 x 680 or 680 x 480.
struct PictureDesign {
    std::string_view name;
    std::string_view file;
    int width;
    int height;
    Ground ground;
};

// Every picture: the skin, the logo (also the window icon), then one per source.
std::span<const PictureDesign> designedPictures();

// The picture named `name`; throws std::logic_error for an unknown name.
const PictureDesign& pictureDesign(std::string_view name);

}  // namespace window
