#pragma once

// The window's events, one handler each. Pointer coordinates are window units;
// button codes: 1 left, 2 right, 4 middle; a move reports the sum of those held.

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

}  // namespace window
