#pragma once

// Picture controls and outlines of the Win32 window. Buttons and arrows are
// child windows that paint the window's layers behind them, then their
// picture stretched over it with its alpha. Outlines are drawn by the window
// itself and so take no mouse input; hidden picture sources have no window.

#include <windows.h>

#include <functional>
#include <string>

#include "window/Toolkit.h"
#include "window/win32/Geometry.h"

namespace window::win32 {

// What a child control needs from the window that holds it.
class ControlHost {
public:
    virtual HWND handle() const = 0;
    // Screen pixels per window unit (the monitor's dots per inch over 96).
    virtual double scale() const = 0;
    // Paints the window's own layers for `area` (screen pixels of the client
    // area) onto `dc`,
    // whose viewport maps window coordinates.
    virtual void paintLayers(HDC dc, const RECT& area) = 0;
    virtual void invalidate(const RECT& area) = 0;
    // False for a move that repeats the last one reported to the same window
    // (the system reports one whenever a window moves under a still pointer).
    virtual bool isFreshMove(HWND window, LPARAM at, WPARAM keys) = 0;
    // Runs `work` so that no exception leaves the window procedure.
    virtual void guarded(const std::function<void()>& work) = 0;

protected:
    ~ControlHost() = default;
};

// A picture control that is a real child window: buttons and arrows.
class PictureWindow : public StoredGeometry<PictureControl> {
public:
    PictureWindow(ControlHost& host, std::string name);
    ~PictureWindow() override;
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    const std::string& name() const { return m_name; }
    HWND handle() const { return m_hwnd; }

    Picture picture() const override { return m_picture; }
    void setPicture(Picture picture) override;
    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override;

    // Puts the child window where its geometry lies at the window's scale.
    void place();

    // Handlers for a click (left press and release on the control) and a move.
    std::function<void()> onClick;
    std::function<void()> onMove;

    static void registerClass();

protected:
    void changed(const ControlGeometry& before) override;

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Draws the control onto `target` (its own client coordinates).
    void render(HDC target);
    void buttonUp(UINT message, WPARAM keys, LPARAM at);

    ControlHost& m_host;
    std::string m_name;
    HWND m_hwnd = nullptr;
    Picture m_picture;
    bool m_visible = true;
    bool m_leftPressed = false;
};

// A rectangle outline, a line of black one window unit wide inside its box,
// drawn by the window.
class OutlineControl : public StoredGeometry<Outline> {
public:
    explicit OutlineControl(ControlHost& host) : m_host(host) {}
    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override;
    void paint(HDC dc, const RECT& dirty) const;

protected:
    void changed(const ControlGeometry& before) override;

private:
    ControlHost& m_host;
    bool m_visible = true;
};

// The button code of a mouse message's key state: 1 left, 2 right, 4 middle, summed.
int buttonsHeld(WPARAM keys);

}  // namespace window::win32
