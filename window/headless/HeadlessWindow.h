#pragma once

// The tool window without a display: every designed control (window/Design.h)
// as a headless control at its designed place, and the window's position. It
// has no user: the program that runs it gives the window's events as calls
// (window/form/FormDriver.h). A message box is handed to the message sink
// instead of being shown; it counts as dismissed at once. A run that never
// looks at the page markers may have them unkept (UnkeptArray.h).

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "window/DesignedControls.h"
#include "window/Toolkit.h"
#include "window/headless/HeadlessControls.h"

namespace window::headless {

class HeadlessWindow : public FormWindow, private ControlMaker {
public:
    using MessageSink = std::function<void(const std::string& text)>;
    enum class Markers { Kept, Unkept };

    explicit HeadlessWindow(MessageSink messages, Markers markers = Markers::Kept);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    Controls& controls() { return *m_controls; }

    float left() const override { return m_left; }
    float top() const override { return m_top; }
    void setLeft(float twips) override { m_left = twips; }
    void setTop(float twips) override { m_top = twips; }
    void showMessage(const std::string& text) override;

private:
    // The controls of the design table, as makeDesignedControls() asks for them.
    ControlArray<PictureControl>& pictureArray(std::string_view name) override;
    ControlArray<TextBox>& numberArray(std::string_view name) override;
    Outline& makeOutline(const ControlDesign& design) override;
    PictureControl& makePictureBox(const ControlDesign& design) override;
    PictureControl& pictureSource(std::string_view name) override;
    template <class T>
    T& makeShown();

    MessageSink m_messages;
    std::vector<std::unique_ptr<Control>> m_owned;
    PictureSources m_sources{[](const std::string& name) { return designPicture(name); }};
    HeadlessMarkers m_markers{nullptr};
    std::optional<UnkeptMarkers> m_unkept;  // in place of m_markers when not kept
    std::unique_ptr<Controls> m_controls;
    float m_left = 0;
    float m_top = 0;
};

}  // namespace window::headless
