#pragma once

// The window's events, one handler each. Pointer coordinates are window units;
// button codes: 1 left, 2 right, 4 middle; a move reports the sum of those held.

#include <algorithm>
#include <string_view>

#include "window/Design.h"

namespace window {

enum MouseButton : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

class FormHandlers {
public:
    virtual ~FormHandlers() = default;

    virtual void formLoad() = 0;
    virtual void formMouseDown(int button, float x, float y) = 0;
    virtual void formMouseMove(int buttons, float x, float y) = 0;

    virtual void bReflectClick() = 0;
    virtual void bDuplicateClick() = 0;
    virtual void bRefreshClick() = 0;
    virtual void bForgetClick() = 0;
    virtual void image3Click() = 0;
    virtual void image4Click() = 0;

    virtual void bReflectMouseMove() = 0;
    virtual void bDuplicateMouseMove() = 0;
    virtual void bRefreshMouseMove() = 0;
    virtual void bForgetMouseMove() = 0;
};

// The pictures that take the pointer: the handler a click on each runs, and
// the one a move over it runs (none for the arrows).
struct PictureRoute {
    std::string_view control;
    void (FormHandlers::*click)();
    void (FormHandlers::*move)();
};

inline constexpr PictureRoute kPictureRoutes[] = {
    {"bReflect", &FormHandlers::bReflectClick, &FormHandlers::bReflectMouseMove},
    {"bDuplicate", &FormHandlers::bDuplicateClick, &FormHandlers::bDuplicateMouseMove},
    {"bRefresh", &FormHandlers::bRefreshClick, &FormHandlers::bRefreshMouseMove},
    {"bForget", &FormHandlers::bForgetClick, &FormHandlers::bForgetMouseMove},
    {"Image3", &FormHandlers::image3Click, nullptr},
    {"Image4", &FormHandlers::image4Click, nullptr},
};
static_assert(std::ranges::all_of(kPictureRoutes,
                                  [](const PictureRoute& route) {
                                      return isDesignedControl(route.control);
                                  }),
              "every route leads from a control of the design table");

}  // namespace window
