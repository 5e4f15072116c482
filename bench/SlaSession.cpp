#include "bench/SlaSession.h"

#include <QApplication>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Measure.h"
#include "bench/RepaintFloor.h"
#include "host/HostConnection.h"
#include "host/sla/SlaHost.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/qt/Artwork.h"
#include "window/qt/MarkerLayer.h"
#include "window/qt/SkinWindow.h"

namespace bench {

namespace {

// The markers the tool's window shows, for the repaint floor.
std::vector<FloorMarker> shownMarkers(window::qt::SkinWindow& skin) {
    std::vector<FloorMarker> markers;
    for (QObject* child : skin.children()) {
        auto* layer = dynamic_cast<window::qt::MarkerLayer*>(child);
        if (!layer) {
            continue;
        }
        const auto add = [&](const window::qt::IconArray& icons,
                             const window::qt::NumberArray& numbers) {
            for (std::size_t i = 0; i < icons.elements().size(); ++i) {
                const auto& icon = icons.elements()[i];
                if (icon && icon->isVisible() && icon->picture()) {
                    const auto& number = numbers.elements().at(i);
                    markers.push_back({icon->storedGeometry().pixels(), icon->picture()->artwork(),
                                       number ? number->storedText() : std::string()});
                }
            }
        };
        add(layer->frontIcons(), layer->frontNumbers());
        add(layer->backIcons(), layer->backNumbers());
    }
    return markers;
}

}  // namespace

void runSlaSession(const std::filesystem::path& sheet, int page) {
    std::filesystem::path copy = sheet;
    copy.replace_extension(".session.sla");
    std::filesystem::copy_file(sheet, copy, std::filesystem::copy_options::overwrite_existing);
    std::vector<std::string> reports;
    window::form::EventGuard guard([&](const std::string& text) { reports.push_back(text); },
                                   [](int) {});
    // Handlers run under the guard, as in the tool; once Reflect has ended
    // the tool, the guard runs nothing more, and the save runs without it.
    const auto run = [&](const char* name, const std::function<void()>& work, bool guarded = true) {
        const Sample sample = measure([&] { guarded ? guard.run(work) : work(); });
        if (!reports.empty()) {
            throw std::runtime_error(std::string(name) + ": the tool reported: " + reports.front());
        }
        std::printf("%s.cpu=%.3f\n%s.wall=%.3f\n", name, sample.cpuMs, name, sample.wallMs);
    };

    std::shared_ptr<host::sla::SlaHost> documents;
    host::HostConnection connection;
    run("open", [&] {
        documents = host::sla::SlaHost::open({copy}, page);
        host::sla::registerSlaHost(connection, documents);
    });
    window::qt::SkinWindow skin;
    window::form::Form1 form(connection, skin.controls(), skin);
    skin.connectHandlers(form, guard);
    run("capture", [&] { form.formLoad(); });
    skin.show();
    QApplication::processEvents();
    run("repaint", [&] { skin.repaint(); });
    {
        RepaintFloor floor(window::qt::artworkPicture("skin"), shownMarkers(skin));
        floor.show();
        QApplication::processEvents();
        run("repaintfloor", [&] { floor.repaint(); });
    }
    run("reflect", [&] { form.bReflectClick(); });
    if (!guard.ended() || guard.exitStatus() != 0) {
        throw std::runtime_error("Reflect did not end the tool normally");
    }
    run(
        "save", [&] { documents->saveChanged(); }, false);
    std::filesystem::remove(copy);
}

}  // namespace bench
