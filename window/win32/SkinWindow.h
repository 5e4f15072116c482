#pragma once

// The borderless, skinned tool window for Win32: owns every designed control,
// paints the skin, the outlines and the page markers itself, routes the
// pointer the way the tool expects and hands each event to its handler inside
// the event guard. Window units are pixels: the process is DPI-unaware.

#include <windows.h>

#include <exception>
#include <memory>
#include <string_view>
#include <vector>

#include "window/Design.h"
#include "window/DesignedControls.h"
#include "window/FormHandlers.h"
#include "window/Toolkit.h"
#include "window/win32/Controls.h"
#include "window/win32/Decoder.h"
#include "window/win32/MarkerLayer.h"
#include "window/win32/Pictures.h"

namespace window::form {
class EventGuard;
}

namespace window::win32 {

using form::EventGuard;

class SkinWindow : public FormWindow, private ControlHost, private ControlMaker {
public:
    // Makes the window, hidden, with every control of the design table.
    SkinWindow();
    ~SkinWindow() override;
    SkinWindow(const SkinWindow&) = delete;
    SkinWindow& operator=(const SkinWindow&) = delete;

    Controls& controls() { return *m_controls; }
    MarkerLayer& markers() { return *m_markers; }
    PictureWindow& pictureWindow(std::string_view name) const;
    HWND handle() const override { return m_hwnd; }
    // Screen pixels per window unit: the monitor's dots per inch over 96.
    double scale() const override { return scaleAt(m_dpi); }

    // Routes every event to `handlers` through `guard`; both outlive the window.
    void connectHandlers(FormHandlers& handlers, EventGuard& guard);

    void show();
    void hide();
    // A failure outside any handler before the guard was connected; it ended the loop with 1.
    std::exception_ptr failure() const { return m_failure; }

    float left() const override;  // twips
    float top() const override;   // twips
    void setLeft(float twips) override;
    void setTop(float twips) override;
    void showMessage(const std::string& text) override;

private:
    ControlHost& host() { return *this; }
    void paintLayers(HDC dc, const RECT& area) override;
    void invalidate(const RECT& area) override;
    bool isFreshMove(HWND window, LPARAM at, WPARAM keys) override;
    void guarded(const std::function<void()>& work) override;

    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createWindow();
    // The monitor's dots per inch became `dpi`: the window takes its size at
    // that scale, keeps the design point under the pointer (else takes the
    // system's `suggested` place) and redraws everything at the new scale.
    void dpiChanged(UINT dpi, const RECT& suggested);
    void setIcons();
    bool keyDown(WPARAM key, LPARAM flags);
    // The controls of the design table, as makeDesignedControls() asks for them.
    ControlArray<PictureControl>& pictureArray(std::string_view name) override;
    ControlArray<TextBox>& numberArray(std::string_view name) override;
    Outline& makeOutline(const ControlDesign& design) override;
    PictureControl& makePictureBox(const ControlDesign& design) override;
    SourcePicture& pictureSource(std::string_view name) override;
    void paint();
    void buttonDown(int button, LPARAM at);
    void mouseMove(WPARAM keys, LPARAM at);
    void buttonUp(WPARAM keys);
    void dispatch(void (FormHandlers::*handler)());
    void moveTo(int x, int y);
    void repaintPending();

    static constexpr UINT kRepaintMessage = WM_APP + 1;

    GdiplusSession m_gdiplus;  // first in, last out: pictures decode while the window lives
    HWND m_hwnd = nullptr;
    UINT m_dpi = kDesignDpi;
    HICON m_icons[2] = {nullptr, nullptr};  // big, small: at the window's scale
    Picture m_skin;
    PictureSources m_sources{makePicture};
    std::vector<std::unique_ptr<OutlineControl>> m_outlines;
    std::unique_ptr<MarkerLayer> m_markers;
    std::vector<std::unique_ptr<PictureWindow>> m_pictures;
    std::unique_ptr<Controls> m_controls;
    FormHandlers* m_handlers = nullptr;
    EventGuard* m_guard = nullptr;
    // A press that began on a marker owns the pointer until released.
    bool m_pressOnMarker = false;
    struct LastMove {
        HWND window = nullptr;
        POINT at{};
        int buttons = -1;
    } m_lastMove;
    RECT m_pendingRepaint{};
    bool m_repaintPosted = false;
    bool m_quitOnDestroy = true;
    std::exception_ptr m_failure;
};

// Runs the thread's message loop until the window closes; the status it closed with.
int runMessageLoop();

}  // namespace window::win32
