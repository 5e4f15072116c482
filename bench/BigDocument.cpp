#include "bench/BigDocument.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>

#include "bench/Sheet.h"

namespace bench {

namespace {

constexpr double kPageStep = kSheetHeight + 40.0;  // the sample's vertical gap

std::string replaced(const std::string& line, const char* name, const std::string& value) {
    const std::regex attribute(std::string(" ") + name + "=\"[^\"]*\"");
    return std::regex_replace(line, attribute, std::string(" ") + name + "=\"" + value + "\"");
}

std::string shifted(const std::string& line, const char* name, double by) {
    std::smatch found;
    const std::regex attribute(std::string(" ") + name + "=\"([^\"]*)\"");
    if (!std::regex_search(line, found, attribute)) {
        return line;
    }
    std::ostringstream value;
    value.precision(12);
    value << std::stod(found[1].str()) + by;
    return replaced(line, name, value.str());
}

std::string textFrame(int index, int page) {
    const int column = index % 10, row = (index / 10) % 30;
    std::ostringstream line;
    line << "        <PAGEOBJECT XPOS=\"" << 105 + 95 * column << "\" YPOS=\""
         << 25 + kPageStep * page + 23 * row << "\" OwnPage=\"" << page << "\" ItemID=\""
         << 100000 + index << "\" PTYPE=\"4\" WIDTH=\"90\" HEIGHT=\"20\" FRTYPE=\"0\" "
         << "CLIPEDIT=\"0\" PWIDTH=\"1\" PCOLOR=\"None\" PCOLOR2=\"None\" PLINEART=\"1\" "
         << "ANNAME=\"Text " << index << "\" path=\"M0 0 L90 0 L90 20 L0 20 L0 0 Z\" "
         << "LAYER=\"0\"><StoryText><DefaultStyle/><ITEXT CH=\"Lorem ipsum " << index
         << "\"/><trail/></StoryText></PAGEOBJECT>";
    return line.str();
}

}  // namespace

void writeBigDocument(const std::filesystem::path& sample, int rectangles, int textFrames,
                      int pages, const std::filesystem::path& out) {
    // The sheet as the benchmark writes it, then moved to the last page.
    const std::filesystem::path sheet = out.string() + ".sheet";
    writeSlaSheet(sample, rectangles, sheet);
    std::ifstream in(sheet, std::ios::binary);
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    const int last = pages - 1;
    bool framesWritten = false;
    for (std::string line; std::getline(in, line);) {
        if (line.find("<DOCUMENT ") != std::string::npos) {
            line = replaced(line, "ANZPAGES", std::to_string(pages));
        } else if (line.find("<PAGE ") != std::string::npos) {
            for (int page = 0; page < pages; ++page) {
                file << replaced(shifted(line, "PAGEYPOS", kPageStep * page), "NUM",
                                 std::to_string(page))
                     << '\n';
            }
            continue;
        } else if (line.find("<PAGEOBJECT ") != std::string::npos) {
            if (!framesWritten) {
                for (int index = 0; index < textFrames; ++index) {
                    file << textFrame(index, index % last) << '\n';
                }
                framesWritten = true;
            }
            line =
                replaced(shifted(line, "YPOS", kPageStep * last), "OwnPage", std::to_string(last));
        }
        file << line << '\n';
    }
    std::filesystem::remove(sheet);
    if (!framesWritten || !file) {
        throw std::runtime_error("cannot write " + out.string());
    }
}

}  // namespace bench
