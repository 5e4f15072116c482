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

// The design table, the one place the window's controls are written. Each
// row is X(name, kind, array, left, top, width, height, picture, text), in
// stacking order from the bottom, the hidden picture sources last: `kind` a
// ControlKind, `array` true for element 0 of a control array, the box in window
// units (sources have none), `picture` the one shown at load (empty for none; a
// source: its own, named as the source), `text` a number box's design text.
// Everything that lists the controls expands it: the rows below
// (designedControls()), the toolkit's Controls, the backends' building, the tests.
// clang-format off
#define QUARVEL_DESIGN_TABLE(X)                                                           \
    X(Shape1,         ShapeOutline,  false,  24,  80, 341, 361, "",           "")        \
    X(Shape2,         ShapeOutline,  false, 432,  80, 353, 361, "",           "")        \
    /* the front page icons and numbers, then the back ones */                          \
    X(Image1,         PictureBox,    true,   56, 184, 200,  80, "",           "")        \
    X(Text3,          NumberBox,     true,  176, 224,  25,  12, "",           "9999")    \
    X(Image2,         PictureBox,    true,  456, 136,  81,  33, "",           "")        \
    X(Text4,          NumberBox,     true,  472, 144,  25,  13, "",           "Text1")   \
    /* the arrows: vertical (top-bottom), horizontal (left-right); at load they */      \
    /* match the first flip direction, left-right */                                    \
    X(Image3,         PictureBox,    false, 384, 184,  33, 116, "tArrUp90",   "")        \
    X(Image4,         PictureBox,    false, 344, 456, 116,  32, "tArrDwn0",   "")        \
    X(bReflect,       PictureBox,    false,  24, 496, 116,  32, "tReflectUp", "")        \
    X(bDuplicate,     PictureBox,    false, 152, 496, 116,  32, "tDuplicateUp", "")      \
    X(bRefresh,       PictureBox,    false, 424, 496, 116,  32, "tRefreshUp", "")        \
    X(bForget,        PictureBox,    false, 672, 496, 116,  32, "tForgetUp",  "")        \
    X(tReflectUp,     PictureSource, false,   0,   0,   0,   0, "tReflectUp", "")        \
    X(tReflectDown,   PictureSource, false,   0,   0,   0,   0, "tReflectDown", "")      \
    X(tDuplicateUp,   PictureSource, false,   0,   0,   0,   0, "tDuplicateUp", "")      \
    X(tDuplicateDown, PictureSource, false,   0,   0,   0,   0, "tDuplicateDown", "")    \
    X(tRefreshUp,     PictureSource, false,   0,   0,   0,   0, "tRefreshUp", "")        \
    X(tRefreshDown,   PictureSource, false,   0,   0,   0,   0, "tRefreshDown", "")      \
    X(tForgetUp,      PictureSource, false,   0,   0,   0,   0, "tForgetUp",  "")        \
    X(tForgetDown,    PictureSource, false,   0,   0,   0,   0, "tForgetDown", "")       \
    X(tArrUp0,        PictureSource, false,   0,   0,   0,   0, "tArrUp0",    "")        \
    X(tArrDwn0,       PictureSource, false,   0,   0,   0,   0, "tArrDwn0",   "")        \
    X(tArrUp90,       PictureSource, false,   0,   0,   0,   0, "tArrUp90",   "")        \
    X(tArrDwn90,      PictureSource, false,   0,   0,   0,   0, "tArrDwn90",  "")        \
    X(page0,          PictureSource, false,   0,   0,   0,   0, "page0",      "")        \
    X(page90,         PictureSource, false,   0,   0,   0,   0, "page90",     "")        \
    X(page180,        PictureSource, false,   0,   0,   0,   0, "page180",    "")        \
    X(page270,        PictureSource, false,   0,   0,   0,   0, "page270",    "")
// clang-format on

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

// Whether the design table has a control named `name`; also at compile time.
constexpr bool isDesignedControl(std::string_view name) {
#define QUARVEL_IS_NAMED(control, ...) name == #control ||
    return QUARVEL_DESIGN_TABLE(QUARVEL_IS_NAMED) false;
#undef QUARVEL_IS_NAMED
}

// Every control of QUARVEL_DESIGN_TABLE, in its order.
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
