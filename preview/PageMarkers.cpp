#include "preview/PageMarkers.h"

#include <string>

#include "geometry/Orientation.h"
#include "state/Numbers.h"

namespace preview {

namespace {

using state::PageTable;

struct Side {
    const PageTable& table;
    window::ControlArray<window::PictureControl>& icons;
    window::ControlArray<window::TextBox>& numbers;
    bool& loaded;
    window::Outline* outline;  // origin read per marker; null: the stored sheet origin
    bool show;                 // whether placing a marker also shows it
};

window::PictureControl& iconSource(window::Controls& ui, std::int16_t direction) {
    switch (direction) {
        case 0:
            return ui.page0;
        case 90:
            return ui.page90;
        case 180:
            return ui.page180;
        default:
            return ui.page270;
    }
}

float rounded(double value) {
    return state::toInt16Clamped(value);
}

void placeMarker(const state::ToolState& tool, window::Controls& ui, const Side& side,
                 std::int16_t i) {
    const auto row = static_cast<std::size_t>(i);
    const double scale = tool.fitScale.value();
    auto& icon = side.icons[i];
    auto& number = side.numbers[i];

    icon.setPicture(
        iconSource(ui, geometry::AproxAngle(side.table.at(row, PageTable::Angle))).picture());
    const double top = side.outline ? side.outline->top() : tool.sheetTop;
    icon.setTop(rounded(top + scale * side.table.at(row, PageTable::Top)));
    const double left = side.outline ? side.outline->left() : tool.sheetLeft;
    icon.setLeft(rounded(left + scale * side.table.at(row, PageTable::Left)));
    icon.setHeight(rounded(scale * side.table.at(row, PageTable::Height)));
    icon.setWidth(rounded(scale * side.table.at(row, PageTable::Width)));
    if (side.show) {
        icon.setVisible(true);
    }

    // Centred on the icon as placed, in fractions of a unit.
    number.setTop(static_cast<float>(icon.height() / 2.0 - number.height() / 2.0 + icon.top()));
    number.setLeft(static_cast<float>(icon.width() / 2.0 - number.width() / 2.0 + icon.left()));
    number.setText(std::to_string(side.table.number(row)));
    if (side.show) {
        number.setVisible(true);
    }
}

void drawSide(const state::ToolState& tool, window::Controls& ui, const Side& side) {
    const int count = tool.pageCount;
    for (int index = 0; index < count; ++index) {
        const auto i = static_cast<std::int16_t>(index);
        if (i > 0 && !side.loaded) {
            side.numbers.create(i);
            side.icons.create(i);
        }
        placeMarker(tool, ui, side, i);
    }
    side.loaded = true;
}

}  // namespace

void DrawPages(state::ToolState& tool, window::Controls& ui) {
    drawSide(tool, ui, {tool.frontPages, ui.Image1, ui.Text3, tool.side1Loaded, nullptr, true});
}

void DrawPagesS2(state::ToolState& tool, window::Controls& ui) {
    drawSide(tool, ui, {tool.backPages, ui.Image2, ui.Text4, tool.side2Loaded, &ui.Shape2, false});
}

void ShowSide2(const state::ToolState& tool, window::Controls& ui, bool show) {
    ui.Shape2.setVisible(show);
    for (int index = 0; index < tool.pageCount; ++index) {
        const auto i = static_cast<std::int16_t>(index);
        ui.Image2[i].setVisible(show);
        ui.Text4[i].setVisible(show);
    }
}

}  // namespace preview
