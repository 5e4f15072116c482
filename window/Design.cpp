#include "window/Design.h"

#include <array>
#include <stdexcept>
#include <string>

namespace window {

namespace {

#define QUARVEL_DESIGN_ROW(name, kind, array, left, top, width, height, picture, text) \
    ControlDesign{#name, ControlKind::kind, array, {left, top, width, height}, picture, text},
constexpr std::array kControls{QUARVEL_DESIGN_TABLE(QUARVEL_DESIGN_ROW)};
#undef QUARVEL_DESIGN_ROW

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
