#include "bench/Sheet.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace bench {

namespace {

// Where the first page lies on the Scribus canvas of the sample (its scratch margins).
constexpr double kCanvasLeft = 100.0;
constexpr double kCanvasTop = 20.0;

std::string exactNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

bool isTopLevelObject(const std::string& line) {
    return line.rfind("        <PAGEOBJECT ", 0) == 0;
}

// The sample's lines (PTYPE 5) and its round register mark (FRTYPE 1).
bool isKeptSampleItem(const std::string& line) {
    return isTopLevelObject(line) && (line.find("PTYPE=\"5\"") != std::string::npos ||
                                      line.find("FRTYPE=\"1\"") != std::string::npos);
}

// Scribus stores a frame unturned, from its origin, and turns it clockwise
// about that origin; this finds the frame whose turned box is `box`.
std::string slaRectangle(const SheetRectangle& rectangle, int index) {
    const auto& box = rectangle.box;
    const double top = box.top + kCanvasTop, left = box.left + kCanvasLeft;
    const double width = box.right - box.left, height = box.bottom - box.top;
    const int turn = static_cast<int>(rectangle.angle);
    const bool upright = turn == 0 || turn == 180;
    const double frameWidth = upright ? width : height;
    const double frameHeight = upright ? height : width;
    const double x = turn == 90 || turn == 180 ? left + width : left;
    const double y = turn == 180 || turn == 270 ? top + height : top;
    const std::string w = exactNumber(frameWidth), h = exactNumber(frameHeight);
    return "        <PAGEOBJECT XPOS=\"" + exactNumber(x) + "\" YPOS=\"" + exactNumber(y) +
           "\" OwnPage=\"0\" ItemID=\"" + std::to_string(1000 + index) + "\" PTYPE=\"6\" WIDTH=\"" +
           w + "\" HEIGHT=\"" + h + "\" FRTYPE=\"0\" CLIPEDIT=\"0\" ROT=\"" + std::to_string(turn) +
           "\" PWIDTH=\"1\" PCOLOR=\"None\" PCOLOR2=\"Black\" PLINEART=\"1\" ANNAME=\"Page " +
           std::to_string(2 * index + 1) + "\" path=\"M0 0 L" + w + " 0 L" + w + " " + h + " L0 " +
           h + " L0 0 Z\" LAYER=\"0\"/>";
}

}  // namespace

std::vector<SheetRectangle> sheetRectangles(int count) {
    const int columns =
        std::max(1, static_cast<int>(std::ceil(std::sqrt(count * kSheetWidth / kSheetHeight))));
    const int rows = std::max(1, (count + columns - 1) / columns);
    const double cellWidth = kSheetWidth / columns, cellHeight = kSheetHeight / rows;
    std::vector<SheetRectangle> result;
    result.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int row = i / columns;
        const int column = i % columns;
        const double top = row * cellHeight + 0.1 * cellHeight;
        const double left = column * cellWidth + 0.1 * cellWidth;
        result.push_back(
            {{top, left, top + 0.8 * cellHeight, left + 0.8 * cellWidth}, 90.0 * (i % 4)});
    }
    return result;
}

SheetCounts sheetCounts(int rectangles) {
    return {rectangles, 3, 1};
}

void buildMemorySheet(host::MemoryHost& host, int rectangles) {
    auto& document = host.addDocument(kSheetWidth, kSheetHeight);
    auto& spread = document.addSpread();
    auto& page = spread.addPage();
    int index = 0;
    for (const SheetRectangle& rectangle : sheetRectangles(rectangles)) {
        std::string label = "r";
        label += std::to_string(++index);
        page.addRectangle(label, rectangle.box, rectangle.angle);
    }
    // The sample's cut line, head fold and spine fold, and its register mark.
    page.addLine("cut", {675, 50, 675, 950}, 0);
    page.addLine("head", {25, 50, 25, 950}, 180);
    page.addLine("spine", {460, 450, 650, 450}, 270);
    page.addItem("Oval", "mark", {660, 960, 680, 980});
    host.showWindow(spread);
}

void writeSlaSheet(const std::filesystem::path& sample, int rectangles,
                   const std::filesystem::path& out) {
    const auto sampleLines = lines(readFile(sample));
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    bool inItems = false, itemsWritten = false;
    for (const std::string& line : sampleLines) {
        const bool item = line.find("<PAGEOBJECT") != std::string::npos ||
                          line.find("</PAGEOBJECT>") != std::string::npos;
        if (!item) {
            file << line << '\n';
            continue;
        }
        inItems = true;
        if (!itemsWritten) {
            int index = 0;
            for (const SheetRectangle& rectangle : sheetRectangles(rectangles)) {
                file << slaRectangle(rectangle, index++) << '\n';
            }
            itemsWritten = true;
        }
        if (isKeptSampleItem(line)) {
            file << line << '\n';
        }
    }
    if (!inItems || !file) {
        throw std::runtime_error("cannot write " + out.string());
    }
}

}  // namespace bench
