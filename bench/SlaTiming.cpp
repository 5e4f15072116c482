#include "bench/SlaTiming.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "bench/Measure.h"
#include "host/sla/SlaHost.h"

namespace bench {

void runSlaOpenSave(const std::filesystem::path& sheet, int runs) {
    std::filesystem::path copy = sheet;
    copy.replace_extension(".timing.sla");
    std::vector<Sample> opens, saves;
    for (int run = 0; run < runs; ++run) {
        std::filesystem::copy_file(sheet, copy, std::filesystem::copy_options::overwrite_existing);
        std::shared_ptr<host::sla::SlaHost> documents;
        opens.push_back(measure([&] { documents = host::sla::SlaHost::open({copy}); }));
        // Saving writes only what changed; count the whole document as changed.
        documents->openDocuments().front()->markChanged();
        saves.push_back(measure([&] { documents->saveChanged(); }));
    }
    std::filesystem::remove(copy);
    std::printf("open.cpu=%.3f\nopen.wall=%.3f\n", medianCpu(opens), medianWall(opens));
    std::printf("save.cpu=%.3f\nsave.wall=%.3f\n", medianCpu(saves), medianWall(saves));
}

}  // namespace bench
