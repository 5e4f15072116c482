#include "window/form/Form1.h"

#include <cstdint>
#include <limits>

#include "geometry/BackSide.h"
#include "host/BackSideWriter.h"
#include "host/Capture.h"
#include "host/Host.h"
#include "preview/PageMarkers.h"
#include "preview/SheetFit.h"
#include "state/Numbers.h"

namespace window::form {

Form1::Form1(const host::HostConnection& hosts, Controls& controls, FormWindow& window)
    : m_hosts(hosts), m_ui(controls), m_window(window) {}

void Form1::formLoad() {
    auto& s = m_state;
    s.boxWidth = m_ui.Shape1.width();
    s.forgetUp = true;
    s.duplicateUp = true;
    s.reflectUp = true;
    s.refreshUp = true;
    s.sheetTop = m_ui.Shape1.top();
    s.sheetLeft = m_ui.Shape1.left();
    s.boxHeight = m_ui.Shape1.height();
    s.side1Loaded = false;
    s.hostApp = m_hosts.connect();
    s.frontCapacity = 32;
    s.pageCount = 0;
    s.flipLeftRight = true;

    if (s.hostApp->documents()->count() == 0) {
        m_window.showMessage(kNoPublicationMessage);
        m_window.end(0);
    }
    drawSheet();
    readSpread();
}

// The tool's operations under their own names; the work is done by the
// geometry, preview and host code.

void Form1::newPage() {
    host::writeBackSide(m_state);
    m_window.end(0);
}

void Form1::DrawPagesS2() {
    preview::DrawPagesS2(m_state, m_ui);
}
void Form1::ShowSide2(bool show) {
    preview::ShowSide2(m_state, m_ui, show);
}
void Form1::createSide2() {
    geometry::createSide2(m_state);
}
void Form1::DrawPages() {
    preview::DrawPages(m_state, m_ui);
}
void Form1::drawSheet() {
    preview::drawSheet(m_state, m_ui);
}

void Form1::readSpread() {
    host::captureSpread(m_state);
    createSide2();
    DrawPages();
    DrawPagesS2();
    ShowSide2(true);
}

// Button faces: a move over a button shows its Down face; a move over the
// background brings every Down face back up.

void Form1::pressButton(PictureControl& button, PictureControl& downFace, bool& up) {
    if (up) {
        button.setPicture(downFace.picture());
        up = false;
    }
}

void Form1::releaseButton(PictureControl& button, PictureControl& upFace, bool& up) {
    if (!up) {
        button.setPicture(upFace.picture());
        up = true;
    }
}

void Form1::bReflectMouseMove() {
    pressButton(m_ui.bReflect, m_ui.tReflectDown, m_state.reflectUp);
}
void Form1::bDuplicateMouseMove() {
    pressButton(m_ui.bDuplicate, m_ui.tDuplicateDown, m_state.duplicateUp);
}
void Form1::bRefreshMouseMove() {
    pressButton(m_ui.bRefresh, m_ui.tRefreshDown, m_state.refreshUp);
}
void Form1::bForgetMouseMove() {
    pressButton(m_ui.bForget, m_ui.tForgetDown, m_state.forgetUp);
}

void Form1::formMouseMove(int buttons, float x, float y) {
    releaseButton(m_ui.bDuplicate, m_ui.tDuplicateUp, m_state.duplicateUp);
    releaseButton(m_ui.bForget, m_ui.tForgetUp, m_state.forgetUp);
    releaseButton(m_ui.bReflect, m_ui.tReflectUp, m_state.reflectUp);
    releaseButton(m_ui.bRefresh, m_ui.tRefreshUp, m_state.refreshUp);
    dragStep(buttons, x, y);
}

// Dragging the background moves the window by 10 twips per window unit of
// pointer movement, measured from the last anchor.

void Form1::formMouseDown(int button, float x, float y) {
    if (button != LeftButton) {
        return;
    }
    m_state.dragX = x;
    m_state.dragY = y;
    m_state.winLeft = m_window.left();
    m_state.winTop = state::toInt16Clamped(m_window.top());
}

void Form1::dragStep(int buttons, float x, float y) {
    auto& s = m_state;
    if (buttons != LeftButton || x == s.dragX || y == s.dragY) {
        return;
    }
    m_window.setLeft(static_cast<float>(s.winLeft + 10.0 * (x - s.dragX)));
    m_window.setTop(static_cast<float>(dragTopAnchor() + 10.0 * (y - s.dragY)));
    s.winLeft = m_window.left();
    s.winTop = state::toInt16Clamped(m_window.top());
    s.dragX = x;
    s.dragY = y;
}

// winTop holds the window's Top only while it fits 16 bits; at either end of
// that range the window's own Top stands in, so a window far down a tall or
// stacked screen keeps dragging where it is.
double Form1::dragTopAnchor() const {
    constexpr auto kLowest = std::numeric_limits<std::int16_t>::min();
    constexpr auto kHighest = std::numeric_limits<std::int16_t>::max();
    if (m_state.winTop == kLowest || m_state.winTop == kHighest) {
        return m_window.top();
    }
    return m_state.winTop;
}

void Form1::bForgetClick() {
    m_window.end(0);
}

void Form1::bReflectClick() {
    newPage();
}

void Form1::bDuplicateClick() {
    host::duplicateFirstPage(m_state);
}

// The arrows choose how the sheet turns; only the one for the other direction acts.

void Form1::image3Click() {
    if (m_state.flipLeftRight) {
        flip(false, m_ui.tArrDwn90, m_ui.tArrUp0);
    }
}

void Form1::image4Click() {
    if (!m_state.flipLeftRight) {
        flip(true, m_ui.tArrUp90, m_ui.tArrDwn0);
    }
}

void Form1::flip(bool leftRight, PictureControl& verticalArrow, PictureControl& horizontalArrow) {
    m_state.flipLeftRight = leftRight;
    m_ui.Image3.setPicture(verticalArrow.picture());
    m_ui.Image4.setPicture(horizontalArrow.picture());
    createSide2();
    DrawPagesS2();
}

void Form1::bRefreshClick() {
    auto& s = m_state;
    s.frontPages.clear();
    s.backPages.clear();
    for (int index = 1; index < s.pageCount; ++index) {
        const auto i = static_cast<std::int16_t>(index);
        m_ui.Text3.remove(i);
        m_ui.Text4.remove(i);
        m_ui.Image1.remove(i);
        m_ui.Image2.remove(i);
    }
    s.side1Loaded = false;
    s.side2Loaded = false;
    s.frontCapacity = 32;
    s.pageCount = 0;
    drawSheet();
    readSpread();
}

}  // namespace window::form
