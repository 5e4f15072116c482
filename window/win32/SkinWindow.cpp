#include "window/win32/SkinWindow.h"

#include <windowsx.h>

#include <cmath>
#include <limits>

#include "window/form/EventGuard.h"
#include "window/win32/BufferedPaint.h"
#include "window/win32/MessageBox.h"
#include "window/win32/Pictures.h"
#include "window/win32/Placement.h"
#include "window/win32/Text.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"QuarvelWindow";

// Screen pixels for a Left or Top in twips: 15 twips to a window unit.
int pixelsFromTwips(float twips, double scale) {
    if (!std::isfinite(twips)) {
        throw ToolkitError("The window cannot move to a position that is not a number");
    }
    // Far beyond any screen, and well inside what the system takes.
    constexpr double kLimit = 1 << 24;
    const double pixels = std::nearbyint(double(twips) / kTwipsPerPixel * scale);
    return static_cast<int>(std::clamp(pixels, -kLimit, kLimit));
}

void registerWindowClass(WNDPROC procedure) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExW(instance, kWindowClass, &windowClass)) {
        return;
    }
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass)) {
        throwLastError("Cannot register the tool window");
    }
}

}  // namespace

SkinWindow::SkinWindow() : m_skin(makePicture("skin")) {
    createWindow();
    m_markers = std::make_unique<MarkerLayer>([this](const RECT& area) { invalidate(area); });
    m_markers->setScale(scale());
    m_controls = makeDesignedControls(*this);
}

SkinWindow::~SkinWindow() {
    m_quitOnDestroy = false;
    if (m_hwnd) {
        DestroyWindow(m_hwnd);
    }
    m_pictures.clear();
    for (HICON icon : m_icons) {
        if (icon) {
            DestroyIcon(icon);
        }
    }
}

void SkinWindow::createWindow() {
    registerWindowClass(&SkinWindow::procedure);
    // Made at the design size on the monitor it opens on, then sized to that
    // monitor's scale, which only the window can tell.
    const RECT work = workAreaOf(openingMonitor(nullptr));
    const RECT first = centredOn(work, kClientWidth, kClientHeight);
    m_hwnd = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, widen(kCaption).c_str(),
                             WS_POPUP | WS_CLIPCHILDREN, first.left, first.top, kClientWidth,
                             kClientHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd) {
        throwLastError("Cannot make the tool window");
    }
    const UINT dpi = GetDpiForWindow(m_hwnd);
    m_dpi = dpi ? dpi : kDesignDpi;
    const RECT placed =
        centredOn(work, scaledLength(kClientWidth, scale()), scaledLength(kClientHeight, scale()));
    SetWindowPos(m_hwnd, nullptr, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE);
    setIcons();
}

// The taskbar and Alt+Tab show these; the class's icons are of the primary
// monitor's size.
void SkinWindow::setIcons() {
    const int sizes[2] = {scaledLength(32, scale()), scaledLength(16, scale())};
    const WPARAM kinds[2] = {ICON_BIG, ICON_SMALL};
    for (int i = 0; i < 2; ++i) {
        auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                                   MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                   sizes[i], sizes[i], 0));
        if (!icon) {
            continue;  // the class's icon stays
        }
        SendMessageW(m_hwnd, WM_SETICON, kinds[i], reinterpret_cast<LPARAM>(icon));
        if (m_icons[i]) {
            DestroyIcon(m_icons[i]);
        }
        m_icons[i] = icon;
    }
}

void SkinWindow::dpiChanged(UINT dpi, const RECT& suggested) {
    const double before = scale();
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    m_dpi = dpi ? dpi : kDesignDpi;
    const double now = scale();
    POINT origin{suggested.left, suggested.top};
    POINT pointer;
    if (GetCursorPos(&pointer) && PtInRect(&frame, pointer)) {
        // The design point under the pointer stays under it: a drag from one
        // monitor onto another carries on from where it was.
        origin.x = pointer.x - std::lround((pointer.x - frame.left) / before * now);
        origin.y = pointer.y - std::lround((pointer.y - frame.top) / before * now);
    }
    SetWindowPos(m_hwnd, nullptr, origin.x, origin.y, scaledLength(kClientWidth, now),
                 scaledLength(kClientHeight, now), SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_markers) {
        m_markers->setScale(now);
    }
    for (const auto& picture : m_pictures) {
        picture->place();
    }
    setIcons();
    RedrawWindow(m_hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Markers are painted by the window above the outlines; arrows and buttons,
// child windows, lie above both.
ControlArray<PictureControl>& SkinWindow::pictureArray(std::string_view name) {
    return m_markers->icons(name);
}

ControlArray<TextBox>& SkinWindow::numberArray(std::string_view name) {
    return m_markers->numbers(name);
}

Outline& SkinWindow::makeOutline(const ControlDesign&) {
    return *m_outlines.emplace_back(std::make_unique<OutlineControl>(host()));
}

PictureControl& SkinWindow::makePictureBox(const ControlDesign& design) {
    return *m_pictures.emplace_back(
        std::make_unique<PictureWindow>(host(), std::string(design.name)));
}

SourcePicture& SkinWindow::pictureSource(std::string_view name) {
    return m_sources.source(name);
}

PictureWindow& SkinWindow::pictureWindow(std::string_view name) const {
    for (const auto& picture : m_pictures) {
        if (picture->name() == name) {
            return *picture;
        }
    }
    throw ToolkitError("There is no picture control " + std::string(name));
}

void SkinWindow::connectHandlers(FormHandlers& handlers, EventGuard& guard) {
    m_handlers = &handlers;
    m_guard = &guard;
    for (const PictureRoute& route : kPictureRoutes) {
        PictureWindow& picture = pictureWindow(route.control);
        picture.onClick = [this, click = route.click] { dispatch(click); };
        if (const auto move = route.move) {
            picture.onMove = [this, move] { dispatch(move); };
        }
    }
}

void SkinWindow::dispatch(void (FormHandlers::*handler)()) {
    if (m_handlers) {
        m_guard->run([this, handler] { (m_handlers->*handler)(); });
    }
}

void SkinWindow::show() {
    ShowWindow(m_hwnd, SW_SHOW);
    SetForegroundWindow(m_hwnd);
    UpdateWindow(m_hwnd);
}

void SkinWindow::hide() {
    if (m_hwnd) {
        ShowWindow(m_hwnd, SW_HIDE);
    }
}

float SkinWindow::left() const {
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    return static_cast<float>(frame.left / scale() * kTwipsPerPixel);
}

float SkinWindow::top() const {
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    return static_cast<float>(frame.top / scale() * kTwipsPerPixel);
}

void SkinWindow::setLeft(float twips) {
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    moveTo(pixelsFromTwips(twips, scale()), frame.top);
}

void SkinWindow::setTop(float twips) {
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    moveTo(frame.left, pixelsFromTwips(twips, scale()));
}

void SkinWindow::moveTo(int x, int y) {
    if (!SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
        throwLastError("Cannot move the tool window");
    }
}

void SkinWindow::showMessage(const std::string& text) {
    showMessageBox(m_hwnd && IsWindowVisible(m_hwnd) ? m_hwnd : nullptr, text);
}

}  // namespace window::win32
