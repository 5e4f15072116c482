#include "window/DesignedControls.h"

#include <stdexcept>
#include <string>
#include <type_traits>

namespace window {

namespace {

using ByName = std::map<std::string_view, Control*>;

Control& makeControl(ControlMaker& maker, const ControlDesign& design) {
    if (design.kind == ControlKind::PictureSource) {
        return maker.pictureSource(design.picture);  // never shown: no place
    }
    if (design.kind == ControlKind::ShapeOutline) {
        Outline& outline = maker.makeOutline(design);
        place(outline, design.box);
        return outline;
    }
    if (design.kind == ControlKind::NumberBox) {
        if (!design.array) {
            throw std::logic_error("a number box outside an array: " + std::string(design.name));
        }
        TextBox& number = maker.numberArray(design.name)[0];
        place(number, design.box);
        number.setText(std::string(design.text));
        number.setVisible(true);
        return number;
    }
    if (design.array) {
        PictureControl& icon = maker.pictureArray(design.name)[0];
        place(icon, design.box);
        icon.setVisible(true);
        return icon;
    }
    PictureControl& picture = maker.makePictureBox(design);
    place(picture, design.box);
    if (!design.picture.empty()) {
        picture.setPicture(maker.pictureSource(design.picture).picture());
    }
    return picture;
}

// The control of type T that the design table names `name`: an array as the
// maker keeps it, any other control as makeControl() made it.
template <class T>
T& designed(ControlMaker& maker, const ByName& controls, std::string_view name) {
    if constexpr (std::is_same_v<T, ControlArray<PictureControl>>) {
        return maker.pictureArray(name);
    } else if constexpr (std::is_same_v<T, ControlArray<TextBox>>) {
        return maker.numberArray(name);
    } else {
        const auto found = controls.find(name);
        T* control = found == controls.end() ? nullptr : dynamic_cast<T*>(found->second);
        if (!control) {
            throw ToolkitError("The design has no control " + std::string(name) + " of that kind");
        }
        return *control;
    }
}

}  // namespace

SourcePicture& PictureSources::source(std::string_view name) {
    auto found = m_sources.find(name);
    if (found == m_sources.end()) {
        const std::string key(name);
        found = m_sources.emplace(key, SourcePicture(m_makePicture(key))).first;
    }
    return found->second;
}

void place(Control& control, const Box& box) {
    control.setLeft(static_cast<float>(box.left));
    control.setTop(static_cast<float>(box.top));
    control.setWidth(static_cast<float>(box.width));
    control.setHeight(static_cast<float>(box.height));
}

std::unique_ptr<Controls> makeDesignedControls(ControlMaker& maker) {
    ByName byName;
    for (const ControlDesign& design : designedControls()) {
        byName[design.name] = &makeControl(maker, design);
    }
#define QUARVEL_DESIGNED(name, kind, array, ...) \
    designed<DesignedType<ControlKind::kind, array>>(maker, byName, #name),
    return std::unique_ptr<Controls>(new Controls{QUARVEL_DESIGN_TABLE(QUARVEL_DESIGNED)});
#undef QUARVEL_DESIGNED
}

}  // namespace window
