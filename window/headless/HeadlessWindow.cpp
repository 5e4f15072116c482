#include "window/headless/HeadlessWindow.h"

#include <stdexcept>

#include "window/form/EventGuard.h"

namespace window::headless {

namespace {

struct ClickRoute {
    std::string_view control;
    void (FormHandlers::*handler)();
};

// The controls that take a click, and the handler each click runs.
constexpr ClickRoute kClicks[] = {
    {"bReflect", &FormHandlers::bReflectClick}, {"bDuplicate", &FormHandlers::bDuplicateClick},
    {"bRefresh", &FormHandlers::bRefreshClick}, {"bForget", &FormHandlers::bForgetClick},
    {"Image3", &FormHandlers::image3Click},     {"Image4", &FormHandlers::image4Click},
};

// A picture control as designed: at its place, showing its picture at load.
// A source is never shown and has no place; it holds its own picture.
std::unique_ptr<HeadlessPicture> designedPicture(const ControlDesign& design) {
    auto picture = std::make_unique<HeadlessPicture>();
    if (design.kind != ControlKind::PictureSource) {
        picture->place(design.box);
    }
    if (!design.picture.empty()) {
        picture->setPicture(designPicture(design.picture));
    }
    return picture;
}

}  // namespace

HeadlessWindow::HeadlessWindow(MessageSink messages) : m_messages(std::move(messages)) {
    for (const ControlDesign& design : designedControls()) {
        addControl(design);
    }
    m_controls = gatherControls();
}

HeadlessWindow::~HeadlessWindow() = default;

void HeadlessWindow::addControl(const ControlDesign& design) {
    Control* control = nullptr;
    if (design.name == "Image1" || design.name == "Image2") {
        auto& icon = (design.name == "Image1" ? m_frontIcons : m_backIcons).element0();
        icon.place(design.box);
        control = &icon;
    } else if (design.name == "Text3" || design.name == "Text4") {
        auto& number = (design.name == "Text3" ? m_frontNumbers : m_backNumbers).element0();
        number.place(design.box);
        number.setText(std::string(design.text));
        control = &number;
    } else if (design.array) {
        throw std::logic_error("no headless control array " + std::string(design.name));
    } else if (design.kind == ControlKind::ShapeOutline) {
        auto outline = std::make_unique<HeadlessOutline>();
        outline->place(design.box);
        control = m_owned.emplace_back(std::move(outline)).get();
    } else {
        control = m_owned.emplace_back(designedPicture(design)).get();
    }
    m_byName[design.name] = control;
}

template <class T>
T& HeadlessWindow::designed(std::string_view name) const {
    const auto found = m_byName.find(name);
    T* control = found == m_byName.end() ? nullptr : dynamic_cast<T*>(found->second);
    if (!control) {
        throw ToolkitError("The design has no control " + std::string(name) + " of that kind");
    }
    return *control;
}

std::unique_ptr<Controls> HeadlessWindow::gatherControls() {
    const auto picture = [this](std::string_view name) -> PictureControl& {
        return designed<PictureControl>(name);
    };
    return std::unique_ptr<Controls>(new Controls{designed<Outline>("Shape1"),
                                                  designed<Outline>("Shape2"),
                                                  m_frontIcons,
                                                  m_frontNumbers,
                                                  m_backIcons,
                                                  m_backNumbers,
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

void HeadlessWindow::connectHandlers(FormHandlers& handlers, form::EventGuard& guard) {
    m_handlers = &handlers;
    m_guard = &guard;
}

void HeadlessWindow::dispatch(void (FormHandlers::*handler)()) {
    if (!m_handlers) {
        throw std::logic_error("the headless window has no handlers to run");
    }
    m_guard->run([this, handler] { (m_handlers->*handler)(); });
}

void HeadlessWindow::load() {
    dispatch(&FormHandlers::formLoad);
}

void HeadlessWindow::click(std::string_view control) {
    for (const ClickRoute& route : kClicks) {
        if (route.control == control) {
            dispatch(route.handler);
            return;
        }
    }
    throw std::logic_error("no control takes a click: " + std::string(control));
}

void HeadlessWindow::showMessage(const std::string& text) {
    if (m_messages) {
        m_messages(text);
    }
}

}  // namespace window::headless
