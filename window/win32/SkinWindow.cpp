#include "window/win32/SkinWindow.h"

#include <windowsx.h>

#include <cmath>
#include <limits>

#include "window/form/EventGuard.h"
#include "window/win32/BufferedPaint.h"
#include "window/win32/MessageBox.h"
#include "window/win32/Pictures.h"
#include "window/win32/Text.h"
#include "window/win32/Win32Error.h"

namespace window::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"QuarvelWindow";

int pixelsFromTwips(float twips) {
    if (!std::isfinite(twips)) {
        throw ToolkitError("The window cannot move to a position that is not a number");
    }
    // Far beyond any screen, and well inside what the system takes.
    constexpr double kLimit = 1 << 24;
    const double pixels = std::nearbyint(double(twips) / kTwipsPerPixel);
    return static_cast<int>(std::clamp(pixels, -kLimit, kLimit));
}

void place(Control& control, const Box& designed) {
    control.setLeft(static_cast<float>(designed.left));
    control.setTop(static_cast<float>(designed.top));
    control.setWidth(static_cast<float>(designed.width));
    control.setHeight(static_cast<float>(designed.height));
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
    for (const ControlDesign& design : designedControls()) {
        addControl(design);
    }
    m_controls = gatherControls();
}

SkinWindow::~SkinWindow() {
    m_quitOnDestroy = false;
    if (m_hwnd) {
        DestroyWindow(m_hwnd);
    }
    m_pictures.clear();
}

void SkinWindow::createWindow() {
    registerWindowClass(&SkinWindow::procedure);
    // Centred on the primary screen's work area.
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + std::max(0L, (work.right - work.left - kClientWidth) / 2);
    const int y = work.top + std::max(0L, (work.bottom - work.top - kClientHeight) / 2);
    m_hwnd = CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, widen(kCaption).c_str(),
                             WS_POPUP | WS_CLIPCHILDREN, x, y, kClientWidth, kClientHeight, nullptr,
                             nullptr, GetModuleHandleW(nullptr), this);
    if (!m_hwnd) {
        throwLastError("Cannot make the tool window");
    }
}

void SkinWindow::addControl(const ControlDesign& design) {
    switch (design.kind) {
        case ControlKind::ShapeOutline: {
            m_outlines.push_back(std::make_unique<OutlineControl>(host()));
            place(*m_outlines.back(), design.box);
            m_byName[design.name] = m_outlines.back().get();
            break;
        }
        case ControlKind::PictureBox:
        case ControlKind::NumberBox:
            if (design.array) {
                placeMarker(design);
            } else {
                addPicture(design);
            }
            break;
        case ControlKind::PictureSource:
            m_byName[design.name] = &addSource(design.picture);
            break;
    }
}

// Markers are painted by the window above the outlines; arrows and buttons,
// child windows, lie above both.
void SkinWindow::placeMarker(const ControlDesign& design) {
    Control& element = m_markers->element0(design.name);
    place(element, design.box);
    if (auto* number = dynamic_cast<TextBox*>(&element)) {
        number->setText(std::string(design.text));
    }
    element.setVisible(true);
    m_byName[design.name] = &element;
}

SourcePicture& SkinWindow::addSource(std::string_view artwork) {
    for (const auto& source : m_sources) {
        if (source->artwork() == artwork) {
            return *source;
        }
    }
    m_sources.push_back(
        std::make_unique<SourcePicture>(std::string(artwork), makePicture(std::string(artwork))));
    return *m_sources.back();
}

void SkinWindow::addPicture(const ControlDesign& design) {
    m_pictures.push_back(std::make_unique<PictureWindow>(host(), std::string(design.name)));
    PictureWindow& picture = *m_pictures.back();
    place(picture, design.box);
    // At load a control shows the very picture its source holds.
    if (!design.picture.empty()) {
        picture.setPicture(addSource(design.picture).picture());
    }
    m_byName[design.name] = &picture;
}

template <class T>
T& SkinWindow::designed(std::string_view name) const {
    const auto found = m_byName.find(name);
    T* control = found == m_byName.end() ? nullptr : dynamic_cast<T*>(found->second);
    if (!control) {
        throw ToolkitError("The design has no control " + std::string(name) + " of that kind");
    }
    return *control;
}

std::unique_ptr<Controls> SkinWindow::gatherControls() {
    const auto picture = [this](std::string_view name) -> PictureControl& {
        return designed<PictureControl>(name);
    };
    return std::unique_ptr<Controls>(new Controls{designed<Outline>("Shape1"),
                                                  designed<Outline>("Shape2"),
                                                  m_markers->frontIcons(),
                                                  m_markers->frontNumbers(),
                                                  m_markers->backIcons(),
                                                  m_markers->backNumbers(),
                                                  picture("Image3"),
                                                  picture("Image4"),
                                                  picture("bReflect"),
                                                  picture("bDuplicate"),
                                                  picture("bRefresh"),
                                                  picture("bForget"),
                                                  picture("tReflectUp"),
                                                  picture("tReflectDown"),
                                                  picture("tDuplicateUp"),
                                                  picture("tDuplicateDown"),
                                                  picture("tRefreshUp"),
                                                  picture("tRefreshDown"),
                                                  picture("tForgetUp"),
                                                  picture("tForgetDown"),
                                                  picture("tArrUp0"),
                                                  picture("tArrDwn0"),
                                                  picture("tArrUp90"),
                                                  picture("tArrDwn90"),
                                                  picture("page0"),
                                                  picture("page90"),
                                                  picture("page180"),
                                                  picture("page270")});
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
    const auto route = [this](const char* name, void (FormHandlers::*click)(),
                              void (FormHandlers::*hover)()) {
        auto& picture = pictureWindow(name);
        picture.onClick = [this, click] { dispatch(click); };
        if (hover) {
            picture.onMove = [this, hover] { dispatch(hover); };
        }
    };
    route("bReflect", &FormHandlers::bReflectClick, &FormHandlers::bReflectMouseMove);
    route("bDuplicate", &FormHandlers::bDuplicateClick, &FormHandlers::bDuplicateMouseMove);
    route("bRefresh", &FormHandlers::bRefreshClick, &FormHandlers::bRefreshMouseMove);
    route("bForget", &FormHandlers::bForgetClick, &FormHandlers::bForgetMouseMove);
    route("Image3", &FormHandlers::image3Click, nullptr);
    route("Image4", &FormHandlers::image4Click, nullptr);
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
    return static_cast<float>(frame.left) * kTwipsPerPixel;
}

float SkinWindow::top() const {
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    return static_cast<float>(frame.top) * kTwipsPerPixel;
}

void SkinWindow::setLeft(float twips) {
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    moveTo(pixelsFromTwips(twips), frame.top);
}

void SkinWindow::setTop(float twips) {
    RECT frame;
    GetWindowRect(m_hwnd, &frame);
    moveTo(frame.left, pixelsFromTwips(twips));
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
