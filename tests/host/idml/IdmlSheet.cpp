#include "host/idml/IdmlSheet.h"

#include <zip.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>

namespace idmltest {

namespace {

constexpr const char* kNamespace = "http://ns.adobe.com/AdobeInDesign/idml/1.0/packaging";
constexpr const char* kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string number(double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

std::string hexId(int value) {
    std::ostringstream text;
    text << "u" << std::hex << value;
    return text.str();
}

// a b c d tx ty: inner (x, y) lands at (a x + c y + tx, b x + d y + ty).
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    Matrix then(const Matrix& outer) const {
        return {outer.a * a + outer.c * b,
                outer.b * a + outer.d * b,
                outer.a * c + outer.c * d,
                outer.b * c + outer.d * d,
                outer.a * tx + outer.c * ty + outer.tx,
                outer.b * tx + outer.d * ty + outer.ty};
    }
    Matrix inverse() const {
        const double det = a * d - b * c;
        return {
            d / det, -b / det, -c / det, a / det, (c * ty - d * tx) / det, (b * tx - a * ty) / det};
    }
    std::string text() const {
        return number(a) + " " + number(b) + " " + number(c) + " " + number(d) + " " + number(tx) +
               " " + number(ty);
    }
};

Matrix turnedAndMoved(double degrees, double x, double y) {
    const double r = degrees * std::numbers::pi / 180.0;
    double c = std::cos(r);
    double s = std::sin(r);
    if (std::fmod(degrees, 90.0) == 0.0) {
        c = std::round(c);
        s = std::round(s);
    }
    return {c, -s, s, c, x, y};
}

struct Builder {
    Builder(const SheetOptions& given, double pointsPerUnit) : options(given), k(pointsPerUnit) {}

    const SheetOptions& options;
    double k;            // points per sheet unit
    double pageX = 0.0;  // the sheet page's top-left corner in its spread, points
    double pageY = 0.0;
    int nextItem = 0x300;
    int nextStory = 0x400;
    std::vector<ZipEntry> stories;
    std::vector<std::string> storyIds;

    std::string frameText(const contract::SheetItem& item, const Matrix& parent) {
        const bool group = item.type == "Group";
        const bool line = item.type == "Line";
        const double cx = pageX + (item.box.left + item.box.right) / 2.0 * k;
        const double cy = pageY + (item.box.top + item.box.bottom) / 2.0 * k;
        // The frame before turning, from its box (as the contract sheet draws it).
        const double r = item.angle * std::numbers::pi / 180.0;
        double c = std::abs(std::cos(r));
        double s = std::abs(std::sin(r));
        if (std::fmod(item.angle, 90.0) == 0.0) {
            c = std::round(c);
            s = std::round(s);
        }
        const double bw = item.box.width() * k;
        const double bh = item.box.height() * k;
        double w = bw;
        double h = bh;
        if (s == 0.0) {
        } else if (c == 0.0) {
            w = bh;
            h = bw;
        } else if (line) {
            w = bw / c;
        } else {
            w = (bw * c - bh * s) / (c * c - s * s);
            h = (bh * c - bw * s) / (c * c - s * s);
        }
        if (line) {
            h = 0.0;
        }
        const Matrix onSpread =
            group ? Matrix{1, 0, 0, 1, pageX + item.box.left * k, pageY + item.box.top * k}
                  : turnedAndMoved(item.angle, cx, cy);
        const Matrix own = onSpread.then(parent.inverse());
        const std::string element = group ? "Group" : line ? "GraphicLine" : item.type;
        std::ostringstream out;
        out << "\t\t<" << element << " Self=\"" << hexId(nextItem++) << "\" Name=\"" << item.name
            << "\" ItemLayer=\"u90\" ItemTransform=\"" << own.text() << "\"";
        if (const auto found = options.attributes.find(item.name);
            found != options.attributes.end()) {
            out << " " << found->second;
        }
        if (item.type == "TextFrame") {
            const std::string story = hexId(nextStory++);
            storyIds.push_back(story);
            out << " ParentStory=\"" << story << "\" PreviousTextFrame=\"n\" NextTextFrame=\"n\"";
            stories.push_back(
                {"Stories/Story_" + story + ".xml",
                 std::string(kDeclaration) + "<idPkg:Story xmlns:idPkg=\"" + kNamespace +
                     "\" DOMVersion=\"8.0\"><Story Self=\"" + story +
                     "\"><ParagraphStyleRange><CharacterStyleRange><Content>Text of " + item.name +
                     "</Content></CharacterStyleRange></ParagraphStyleRange></Story>"
                     "</idPkg:Story>\n",
                 true,
                 {}});
        }
        out << ">\n";
        if (!group) {
            out << "\t\t\t<Properties><PathGeometry><GeometryPathType PathOpen=\""
                << (line ? "true" : "false") << "\"><PathPointArray>\n";
            std::vector<std::pair<double, double>> points;
            if (line) {
                points = {{-w / 2, 0.0}, {w / 2, 0.0}};
            } else {
                points = {{-w / 2, -h / 2}, {-w / 2, h / 2}, {w / 2, h / 2}, {w / 2, -h / 2}};
            }
            for (const auto& [x, y] : points) {
                const std::string p = number(x) + " " + number(y);
                out << "\t\t\t\t<PathPointType Anchor=\"" << p << "\" LeftDirection=\"" << p
                    << "\" RightDirection=\"" << p << "\"/>\n";
            }
            out << "\t\t\t</PathPointArray></GeometryPathType></PathGeometry></Properties>\n";
        }
        for (const contract::SheetItem& member : item.members) {
            out << frameText(member, onSpread);
        }
        out << "\t\t</" << element << ">\n";
        return out.str();
    }
};

}  // namespace

std::vector<ZipEntry> sheetParts(const contract::Sheet& sheet, const SheetOptions& options) {
    const double k = options.pointsPerUnit;
    const double width = sheet.pageWidth * k;
    const double height = sheet.pageHeight * k;
    Builder builder(options, k);
    std::vector<ZipEntry> spreads;
    std::string spreadList;
    int page = 0;
    for (std::size_t s = 0; s < options.spreads.size(); ++s) {
        const int pages = options.spreads[s];
        // Facing: the first spread's page is right of the spine; later spreads
        // start left of it. Otherwise the pages are centred on the origin.
        const double binding = options.facing ? (s == 0 ? 0.0 : 1.0) : pages / 2.0;
        std::ostringstream out;
        const std::string self = hexId(0x100 + static_cast<int>(s));
        out << kDeclaration << "<idPkg:Spread xmlns:idPkg=\"" << kNamespace
            << "\" DOMVersion=\"8.0\">\n\t<Spread Self=\"" << self << "\" PageCount=\"" << pages
            << "\" BindingLocation=\"" << (options.facing ? binding : 0)
            << "\" ItemTransform=\"1 0 0 1 0 " << number(static_cast<double>(s) * (height + 50))
            << "\">\n"
            << "\t\t<FlattenerPreference LineArtAndTextResolution=\"300\"/>\n";
        for (int p = 0; p < pages; ++p) {
            const double x = (p - binding) * width;
            const double y = -height / 2.0;
            out << "\t\t<Page Self=\"" << hexId(0x200 + page) << "\" Name=\"" << page + 1
                << "\" GeometricBounds=\"0 0 " << number(height) << " " << number(width)
                << "\" ItemTransform=\"1 0 0 1 " << number(x) << " " << number(y)
                << "\" AppliedMaster=\"n\"/>\n";
            if (s == options.sheetSpread && p == 0) {
                builder.pageX = x;
                builder.pageY = y;
            }
            ++page;
        }
        if (s == options.sheetSpread) {
            for (const contract::SheetItem& item : sheet.items) {
                out << builder.frameText(item, Matrix{});
            }
        }
        out << "\t</Spread>\n</idPkg:Spread>\n";
        spreads.push_back({"Spreads/Spread_" + self + ".xml", out.str(), true, {}});
        spreadList += "\t<idPkg:Spread src=\"Spreads/Spread_" + self + ".xml\"/>\n";
    }
    std::string storyList;
    std::string storyParts;
    for (const std::string& id : builder.storyIds) {
        storyList += (storyList.empty() ? "" : " ") + id;
        storyParts += "\t<idPkg:Story src=\"Stories/Story_" + id + ".xml\"/>\n";
    }
    std::vector<ZipEntry> parts;
    parts.push_back({"mimetype", "application/vnd.adobe.indesign-idml-package", false, {}});
    parts.push_back({"designmap.xml",
                     std::string(kDeclaration) + options.designmapPrologue +
                         "<?aid style=\"50\" type=\"document\" readerVersion=\"6.0\" "
                         "featureSet=\"257\" product=\"8.0(370)\" ?>\n"
                         "<Document xmlns:idPkg=\"" +
                         kNamespace + "\" DOMVersion=\"8.0\" Self=\"d\" StoryList=\"" + storyList +
                         "\">\n"
                         "\t<idPkg:Preferences src=\"Resources/Preferences.xml\"/>\n"
                         "\t<Layer Self=\"u90\" Name=\"Layer 1\" Visible=\"true\"/>\n" +
                         spreadList + "\t<Section Self=\"u9a\" Length=\"" + std::to_string(page) +
                         "\" Name=\"\" ContinueNumbering=\"true\" IncludeSectionPrefix=\"false\" "
                         "Marker=\"\" PageStart=\"u200\" SectionPrefix=\"\"/>\n" +
                         storyParts + "</Document>\n",
                     true,
                     {}});
    parts.push_back({"Resources/Preferences.xml",
                     std::string(kDeclaration) + "<idPkg:Preferences xmlns:idPkg=\"" + kNamespace +
                         "\" DOMVersion=\"8.0\">\n\t<DocumentPreference PageHeight=\"" +
                         number(height) + "\" PageWidth=\"" + number(width) + "\" FacingPages=\"" +
                         (options.facing ? "true" : "false") +
                         "\" PageBinding=\"LeftToRight\"/>\n\t<ViewPreference "
                         "HorizontalMeasurementUnits=\"" +
                         options.unitName + "\" VerticalMeasurementUnits=\"" + options.unitName +
                         "\"/>\n</idPkg:Preferences>\n",
                     true,
                     {}});
    parts.insert(parts.end(), spreads.begin(), spreads.end());
    parts.insert(parts.end(), builder.stories.begin(), builder.stories.end());
    parts.push_back({"META-INF/container.xml",
                     std::string(kDeclaration) +
                         "<container version=\"1.0\" "
                         "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles>"
                         "<rootfile full-path=\"designmap.xml\" media-type=\"text/xml\"/>"
                         "</rootfiles></container>\n",
                     true,
                     {}});
    return parts;
}

std::string sheetPackage(const contract::Sheet& sheet, const SheetOptions& options) {
    return zipArchive(sheetParts(sheet, options));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::pair<std::string, std::string>> entriesOf(const std::filesystem::path& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive) {
        throw std::runtime_error("cannot open " + path.string() + " as a ZIP archive");
    }
    std::vector<std::pair<std::string, std::string>> entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string data(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (!file ||
            zip_fread(file, data.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
            zip_discard(archive);
            throw std::runtime_error("cannot read " + std::string(stat.name));
        }
        zip_fclose(file);
        entries.emplace_back(stat.name, std::move(data));
    }
    zip_discard(archive);
    return entries;
}

std::vector<StoredEntry> storedEntriesOf(const std::filesystem::path& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive) {
        throw std::runtime_error("cannot open " + path.string() + " as a ZIP archive");
    }
    std::vector<StoredEntry> entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        zip_stat_index(archive, index, 0, &stat);
        std::string data(stat.comp_size, '\0');
        zip_file_t* file = zip_fopen_index(archive, index, ZIP_FL_COMPRESSED);
        if (!file || zip_fread(file, data.data(), stat.comp_size) !=
                         static_cast<zip_int64_t>(stat.comp_size)) {
            zip_discard(archive);
            throw std::runtime_error("cannot read " + std::string(stat.name));
        }
        zip_fclose(file);
        entries.push_back({stat.name, stat.comp_method, std::move(data)});
    }
    zip_discard(archive);
    return entries;
}

}  // namespace idmltest
