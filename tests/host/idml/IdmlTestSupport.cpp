#include "host/idml/IdmlTestSupport.h"

#include "geometry/BackSide.h"
#include "host/BackSideWriter.h"
#include "host/Capture.h"
#include "host/idml/IdmlHost.h"
#include "host/idml/IdmlItem.h"

namespace idmltest {

state::ToolState reflectFile(const std::filesystem::path& path, bool leftRight, int shownPage) {
    state::ToolState tool;
    const auto host = host::idml::IdmlHost::open({path}, shownPage);
    tool.hostApp = host;
    tool.sheetWidth = host->activeDocument()->preferences()->pageWidth();
    tool.sheetHeight = host->activeDocument()->preferences()->pageHeight();
    tool.flipLeftRight = leftRight;
    host::captureSpread(tool);
    geometry::createSide2(tool);
    host::writeBackSide(tool);
    host->saveChanged();
    tool.hostApp.reset();
    tool.curSpread.reset();
    tool.spreadItems.reset();
    return tool;
}

std::vector<ItemRow> itemsOn(const std::filesystem::path& path, int page, bool dissolve) {
    const auto host = host::idml::IdmlHost::open({path}, page);
    if (dissolve) {
        host::dissolveGroups(*host->activeWindow()->activeSpread()->pageItems());
    }
    std::vector<ItemRow> rows;
    for (const auto& item : host->activeWindow()->activeSpread()->pageItems()->enumerate()) {
        auto& own = dynamic_cast<host::idml::IdmlItem&>(*item);
        rows.push_back({own.typeName(), own.name(), own.visibleBounds(), own.rotationAngle()});
    }
    return rows;
}

std::vector<ItemRow> ofType(const std::vector<ItemRow>& rows, const std::string& type) {
    std::vector<ItemRow> found;
    for (const ItemRow& row : rows) {
        if (row.type == type) {
            found.push_back(row);
        }
    }
    return found;
}

}  // namespace idmltest
