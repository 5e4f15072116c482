#pragma once

#include <string>
#include <vector>

#include "window/FormHandlers.h"

namespace testing_support {

// Records every window event as one line: "move 1 30,40", "down 1 30,40",
// "bReflect.click", "bReflect.move".
class RecordingHandlers : public window::FormHandlers {
public:
    std::vector<std::string> events;

    void formLoad() override { events.push_back("load"); }
    void formMouseDown(int button, float x, float y) override { point("down", button, x, y); }
    void formMouseMove(int buttons, float x, float y) override { point("move", buttons, x, y); }
    void bReflectClick() override { events.push_back("bReflect.click"); }
    void bDuplicateClick() override { events.push_back("bDuplicate.click"); }
    void bRefreshClick() override { events.push_back("bRefresh.click"); }
    void bForgetClick() override { events.push_back("bForget.click"); }
    void image3Click() override { events.push_back("Image3.click"); }
    void image4Click() override { events.push_back("Image4.click"); }
    void bReflectMouseMove() override { events.push_back("bReflect.move"); }
    void bDuplicateMouseMove() override { events.push_back("bDuplicate.move"); }
    void bRefreshMouseMove() override { events.push_back("bRefresh.move"); }
    void bForgetMouseMove() override { events.push_back("bForget.move"); }

private:
    void point(const char* what, int buttons, float x, float y) {
        events.push_back(std::string(what) + " " + std::to_string(buttons) + " " +
                         std::to_string(static_cast<int>(x)) + "," +
                         std::to_string(static_cast<int>(y)));
    }
};

}  // namespace testing_support
