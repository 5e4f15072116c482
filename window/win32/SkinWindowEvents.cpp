// The tool window's message handling: painting its layers, routing the
// pointer and the keys, and following the monitor's scale. Presses on the
// background hold the pointer until every button is up, so the drag keeps
// reaching the window over controls and off it.

#include <windowsx.h>

#include <utility>

#include "window/form/EventGuard.h"
#include "window/win32/BufferedPaint.h"
#include "window/win32/Pictures.h"
#include "window/win32/SkinWindow.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

LRESULT CALLBACK SkinWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (!self->m_hwnd) {
        self->m_hwnd = hwnd;  // messages sent while the window is being made
    }
    LRESULT result = 0;
    self->guarded([&] { result = self->onMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
    }
    return result;
}

LRESULT SkinWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_PRINTCLIENT: {
            RECT client;
            GetClientRect(m_hwnd, &client);
            paintLayers(reinterpret_cast<HDC>(wParam), client);
            return 0;
        }
        case WM_GETDPISCALEDSIZE: {
            // The system would scale the outer size; the design's is exact.
            const double next = scaleAt(LOWORD(wParam));
            auto* size = reinterpret_cast<SIZE*>(lParam);
            size->cx = scaledLength(kClientWidth, next);
            size->cy = scaledLength(kClientHeight, next);
            return TRUE;
        }
        case WM_DPICHANGED:
            dpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (keyDown(wParam, lParam)) {
                return 0;
            }
            return DefWindowProcW(m_hwnd, message, wParam, lParam);
        case WM_CLOSE:
            // Alt+F4 through the system, the taskbar's Close: as Forget.
            if (m_handlers) {
                dispatch(&FormHandlers::bForgetClick);
                return 0;
            }
            return DefWindowProcW(m_hwnd, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            buttonDown(LeftButton, lParam);
            return 0;
        case WM_RBUTTONDOWN:
            buttonDown(RightButton, lParam);
            return 0;
        case WM_MBUTTONDOWN:
            buttonDown(MiddleButton, lParam);
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            buttonUp(wParam);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != m_hwnd) {
                m_pressOnMarker = false;
            }
            return 0;
        case kRepaintMessage:
            repaintPending();
            return 0;
        case WM_DESTROY:
            // Closed by the system, not by the tool (which only hides it): the
            // loop ends as after Forget.
            if (m_quitOnDestroy) {
                PostQuitMessage(0);
            }
            return 0;
        default:
            return DefWindowProcW(m_hwnd, message, wParam, lParam);
    }
}

void SkinWindow::paint() {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(m_hwnd, &paint);
    if (!IsRectEmpty(&paint.rcPaint)) {
        BufferedPaint buffer(target, paint.rcPaint);
        paintLayers(buffer.dc(), paint.rcPaint);
    }
    EndPaint(m_hwnd, &paint);
}

// Esc and Alt+F4 do what Forget does. Enter does nothing: Reflect changes the
// document and closes, so it takes a deliberate click. A key held down
// repeats; only its first press counts. Whether the key was the window's.
bool SkinWindow::keyDown(WPARAM key, LPARAM flags) {
    const bool repeat = (flags & (1L << 30)) != 0;
    const bool alt = (flags & (1L << 29)) != 0;
    if (key == VK_ESCAPE || (key == VK_F4 && alt)) {
        if (!repeat) {
            dispatch(&FormHandlers::bForgetClick);
        }
        return true;
    }
    return key == VK_RETURN;
}

void SkinWindow::paintLayers(HDC dc, const RECT& area) {
    // Drawn from the corner at the design's size times the scale: the skin's
    // last row lies below the client area.
    const Bitmap& skin = m_skin->at(scaledLength(m_skin->designWidth(), scale()),
                                    scaledLength(m_skin->designHeight(), scale()));
    HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ previous = SelectObject(source, skin.handle());
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source,
           area.left, area.top, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    for (const auto& outline : m_outlines) {
        outline->paint(dc, area);
    }
    m_markers->paint(dc, area);
}

// A handler may change thousands of markers; each change only widens one
// pending area, and one posted message hands it to the system. A hidden
// window needs nothing: showing it paints it whole.
void SkinWindow::invalidate(const RECT& area) {
    if (!m_hwnd || !IsWindowVisible(m_hwnd)) {
        return;
    }
    UnionRect(&m_pendingRepaint, &m_pendingRepaint, &area);
    if (!m_repaintPosted) {
        m_repaintPosted = PostMessageW(m_hwnd, kRepaintMessage, 0, 0) != FALSE;
        if (!m_repaintPosted) {
            repaintPending();
        }
    }
}

void SkinWindow::repaintPending() {
    m_repaintPosted = false;
    const RECT area = std::exchange(m_pendingRepaint, RECT{});
    // Children too: a marker may lie under a picture control.
    RedrawWindow(m_hwnd, &area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool SkinWindow::isFreshMove(HWND window, LPARAM at, WPARAM keys) {
    POINT screen{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ClientToScreen(window, &screen);
    const int buttons = buttonsHeld(keys);
    if (window == m_lastMove.window && screen.x == m_lastMove.at.x && screen.y == m_lastMove.at.y &&
        buttons == m_lastMove.buttons) {
        return false;
    }
    m_lastMove = {window, screen, buttons};
    return true;
}

void SkinWindow::guarded(const std::function<void()>& work) {
    try {
        work();
    } catch (...) {
        // A failure outside the handlers (painting, say) ends the tool the same way.
        const std::exception_ptr failure = std::current_exception();
        try {
            if (!m_guard) {
                std::rethrow_exception(failure);
            }
            m_guard->run([&] { std::rethrow_exception(failure); });
        } catch (...) {
            if (!m_failure) {
                m_failure = std::current_exception();
                hide();
                PostQuitMessage(1);
            }
        }
    }
}

void SkinWindow::buttonDown(int button, LPARAM at) {
    SetCapture(m_hwnd);
    const auto x = static_cast<float>(GET_X_LPARAM(at) / scale());
    const auto y = static_cast<float>(GET_Y_LPARAM(at) / scale());
    if (m_markers->hitTest(x, y)) {
        m_pressOnMarker = true;  // markers handle no events
        return;
    }
    if (m_handlers) {
        m_guard->run([=, this] { m_handlers->formMouseDown(button, x, y); });
    }
}

void SkinWindow::mouseMove(WPARAM keys, LPARAM at) {
    if (!isFreshMove(m_hwnd, at, keys)) {
        return;
    }
    const auto x = static_cast<float>(GET_X_LPARAM(at) / scale());
    const auto y = static_cast<float>(GET_Y_LPARAM(at) / scale());
    const int buttons = buttonsHeld(keys);
    // Without a button held, a move over a marker is the marker's; with one held
    // after a press on the background, every move is the background's.
    if (m_pressOnMarker || (buttons == 0 && m_markers->hitTest(x, y)) || !m_handlers) {
        return;
    }
    m_guard->run([=, this] { m_handlers->formMouseMove(buttons, x, y); });
}

void SkinWindow::buttonUp(WPARAM keys) {
    if (buttonsHeld(keys) == 0) {
        m_pressOnMarker = false;
        if (GetCapture() == m_hwnd) {
            ReleaseCapture();
        }
    }
}

int runMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            throwLastError("The window's message loop failed");
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace window::win32
