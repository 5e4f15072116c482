#include "preview/SheetFit.h"

#include <cmath>
#include <sstream>

#include "host/Host.h"

namespace preview {

namespace {

void requireSize(double width, double height) {
    const auto usable = [](double length) { return std::isfinite(length) && length > 0.0; };
    if (!usable(width) || !usable(height)) {
        std::ostringstream message;
        message << "The document's page is " << width << " wide and " << height
                << " high; a sheet needs a width and a height above zero.";
        throw SheetError(message.str());
    }
}

}  // namespace

void drawSheet(state::ToolState& tool, window::Controls& ui) {
    tool.activeDoc = tool.hostApp->activeDocument();
    const auto prefs = tool.activeDoc->preferences();
    tool.sheetWidth = prefs->pageWidth();
    tool.sheetHeight = prefs->pageHeight();
    const double width = *tool.sheetWidth;
    const double height = *tool.sheetHeight;
    requireSize(width, height);

    const double ratioW = tool.boxWidth / width;
    const double ratioH = tool.boxHeight / height;
    if (ratioW > ratioH) {
        // The height limits the fit.
        ui.Shape1.setWidth(static_cast<float>(width * ratioH));
        ui.Shape1.setHeight(static_cast<float>(height * ratioH));
        tool.fitScale = ratioH;
    } else {
        ui.Shape1.setHeight(static_cast<float>(height * ratioW));
        ui.Shape1.setWidth(static_cast<float>(width * ratioW));
        tool.fitScale = ratioW;
    }
    // Whatever the toolkit made of Shape1's size carries over to Shape2.
    ui.Shape2.setWidth(ui.Shape1.width());
    ui.Shape2.setHeight(ui.Shape1.height());
}

}  // namespace preview
