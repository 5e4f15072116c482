#include "window/Design.h"

#include <array>
#include <stdexcept>
#include <string>

namespace window {

namespace {

constexpr ControlDesign control(std::string_view name, ControlKind kind, Box box,
                                std::string_view picture = {}) {
    return {name, kind, false, box, picture, {}};
}
constexpr ControlDesign arrayElement(std::string_view name, ControlKind kind, Box box,
                                     std::string_view text = {}) {
    return {name, kind, true, box, {}, text};
}
constexpr ControlDesign source(std::string_view name) {
    return {name, ControlKind::PictureSource, false, {}, name, {}};
}

using enum ControlKind;

constexpr std::array kControls{
    control("Shape1", ShapeOutline, {24, 80, 341, 361}),
    control("Shape2", ShapeOutline, {432, 80, 353, 361}),
    arrayElement("Image1", PictureBox, {56, 184, 200, 80}),
    arrayElement("Text3", NumberBox, {176, 224, 25, 12}, "9999"),
    arrayElement("Image2", PictureBox, {456, 136, 81, 33}),
    arrayElement("Text4", NumberBox, {472, 144, 25, 13}, "Text1"),
    // The arrows at load match the first flip direction, left-right.
    control("Image3", PictureBox, {384, 184, 33, 116}, "tArrUp90"),
    control("Image4", PictureBox, {344, 456, 116, 32}, "tArrDwn0"),
    control("bReflect", PictureBox, {24, 496, 116, 32}, "tReflectUp"),
    control("bDuplicate", PictureBox, {152, 496, 116, 32}, "tDuplicateUp"),
    control("bRefresh", PictureBox, {424, 496, 116, 32}, "tRefreshUp"),
    control("bForget", PictureBox, {672, 496, 116, 32}, "tForgetUp"),
    source("tReflectUp"),
    source("tReflectDown"),
    source("tDuplicateUp"),
    source("tDuplicateDown"),
    source("tRefreshUp"),
    source("tRefreshDown"),
    source("tForgetUp"),
    source("tForgetDown"),
    source("tArrUp0"),
    source("tArrDwn0"),
    source("tArrUp90"),
    source("tArrDwn90"),
    source("page0"),
    source("page90"),
    source("page180"),
    source("page270"),
};

constexpr int kFaceWidth = 228;
constexpr int kFaceHeight = 56;

constexpr PictureDesign face(std::string_view name, std::string_view file) {
    return {name, file, kFaceWidth, kFaceHeight, Ground::Opaque};
}

constexpr std::array kPictures{
    PictureDesign{"skin", "skin.svg", 820, 559, Ground::Opaque},
    PictureDesign{"logo", "logo.svg", 23, 15, Ground::Opaque},
    face("tReflectUp", "reflect-up.svg"),
    face("tReflectDown", "reflect-down.svg"),
    face("tDuplicateUp", "duplicate-up.svg"),
    face("tDuplicateDown", "duplicate-down.svg"),
    face("tRefreshUp", "refresh-up.svg"),
    face("tRefreshDown", "refresh-down.svg"),
    face("tForgetUp", "forget-up.svg"),
    face("tForgetDown", "forget-down.svg"),
    PictureDesign{"tArrUp0", "arrow-h-pale.svg", 110, 38, Ground::Opaque},
    PictureDesign{"tArrDwn0", "arrow-h-vivid.svg", 110, 38, Ground::Opaque},
    PictureDesign{"tArrUp90", "arrow-v-pale.svg", 38, 110, Ground::Opaque},
    PictureDesign{"tArrDwn90", "arrow-v-vivid.svg", 38, 110, Ground::Opaque},
    PictureDesign{"page0", "page0.svg", 480, 680, Ground::Transparent},
    PictureDesign{"page90", "page90.svg", 680, 480, Ground::Transparent},
    PictureDesign{"page180", "page180.svg", 480, 680, Ground::Transparent},
    PictureDesign{"page270", "page270.svg", 680, 480, Ground::Transparent},
};

template <class Row, std::size_t N>
const Row& find(const std::array<Row, N>& table, std::string_view name, const char* what) {
    for (const Row& row : table) {
        if (row.name == name) {
            return row;
        }
    }
    throw std::logic_error(std::string("unknown ") + what + ": " + std::string(name));
}

}  // namespace

std::span<const ControlDesign> designedControls() {
    return kControls;
}

const ControlDesign& controlDesign(std::string_view name) {
    return find(kControls, name, "control");
}

std::span<const PictureDesign> designedPictures() {
    return kPictures;
}

const PictureDesign& pictureDesign(std::string_view name) {
    return find(kPictures, name, "picture");
}

}  // namespace window
