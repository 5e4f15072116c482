#include "host/contract/MemoryAdapter.h"

namespace contract {

namespace {

void add(host::MemoryItemList& list, const SheetItem& item) {
    if (item.type == "Group") {
        host::MemoryGroup& group = list.addGroup(item.name);
        for (const SheetItem& member : item.members) {
            add(group, member);
        }
        return;
    }
    list.addItem(item.type, item.name, item.box, item.angle);
}

}  // namespace

std::shared_ptr<host::Application> MemoryAdapter::open(const Sheet& sheet) {
    host::MemorySpread& spread = m_host.addDocument(sheet.pageWidth, sheet.pageHeight).addSpread();
    host::MemoryPage& page = spread.addPage();
    for (const SheetItem& item : sheet.items) {
        add(page, item);
    }
    m_host.showWindow(spread);
    return m_host.application();
}

}  // namespace contract
