#pragma once

// Building the designed window for any backend: walks the design table
// (Design.h) from the bottom of the stacking order up, asks the backend for
// each control, puts it at its designed place with its picture or text at
// load, and gathers them by design name into Controls. Toolkit-free.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "window/ControlRecords.h"
#include "window/Design.h"
#include "window/Toolkit.h"

namespace window {

// What a backend makes for the design table. A control it makes is shown and
// lies above those made before it.
class ControlMaker {
public:
    // The control array with that design name: pictures Image1 and Image2,
    // number boxes Text3 and Text4.
    virtual ControlArray<PictureControl>& pictureArray(std::string_view name) = 0;
    virtual ControlArray<TextBox>& numberArray(std::string_view name) = 0;
    // A new control for that row of the design table.
    virtual Outline& makeOutline(const ControlDesign& design) = 0;
    virtual PictureControl& makePictureBox(const ControlDesign& design) = 0;
    // The hidden source holding the design's picture `name`: the same control
    // for every call with that name (PictureSources keeps them so).
    virtual PictureControl& pictureSource(std::string_view name) = 0;

protected:
    ~ControlMaker() = default;
};

// The design's hidden picture sources, one for each picture name, made when
// first asked for, each holding the backend's picture of its name.
class PictureSources {
public:
    using MakePicture = std::function<Picture(const std::string& name)>;
    explicit PictureSources(MakePicture makePicture) : m_makePicture(std::move(makePicture)) {}

    SourcePicture& source(std::string_view name);

private:
    MakePicture m_makePicture;
    std::map<std::string, SourcePicture, std::less<>> m_sources;
};

// Every control of the design table, made by `maker` in stacking order. Each
// is placed as designed; a picture control shows the very picture its source
// holds; element 0 of each array is shown, a number box with its design text.
std::unique_ptr<Controls> makeDesignedControls(ControlMaker& maker);

// Puts `control` where `box` says (window units).
void place(Control& control, const Box& box);

}  // namespace window
