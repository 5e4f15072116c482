#pragma once

// The tool window's logic: owns the tool state and handles every window event.
// Knows the window only through the toolkit interface and the host only
// through its object model.

#include <cstdint>
#include <string>

#include "host/HostConnection.h"
#include "state/ToolState.h"
#include "window/FormHandlers.h"
#include "window/Toolkit.h"

namespace window::form {

inline constexpr const char* kNoPublicationMessage = "Please open a publication and try again.";

class Form1 : public FormHandlers {
public:
    Form1(const host::HostConnection& hosts, Controls& controls, FormWindow& window);

    const state::ToolState& toolState() const { return m_state; }
    // For the program that ran the tool, once its run is over.
    state::ToolState& toolState() { return m_state; }

    // Writes the back side into the host document, then ends the tool.
    [[noreturn]] void newPage();
    void DrawPagesS2();
    void ShowSide2(bool show);
    void createSide2();
    void DrawPages();
    void drawSheet();

    void formLoad() override;
    void formMouseDown(int button, float x, float y) override;
    void formMouseMove(int buttons, float x, float y) override;

    void bReflectClick() override;
    void bDuplicateClick() override;
    void bRefreshClick() override;
    void bForgetClick() override;
    void image3Click() override;
    void image4Click() override;

    void bReflectMouseMove() override;
    void bDuplicateMouseMove() override;
    void bRefreshMouseMove() override;
    void bForgetMouseMove() override;

private:
    void readSpread();
    void flip(bool leftRight, PictureControl& verticalArrow, PictureControl& horizontalArrow);
    void pressButton(PictureControl& button, PictureControl& downFace, bool& up);
    void releaseButton(PictureControl& button, PictureControl& upFace, bool& up);
    void dragStep(int buttons, float x, float y);
    double dragTopAnchor() const;

    const host::HostConnection& m_hosts;
    Controls& m_ui;
    FormWindow& m_window;
    state::ToolState m_state;
};

}  // namespace window::form
