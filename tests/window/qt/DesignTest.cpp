// The designed window as it stands at load, before start-up touches it: every
// control's kind, place, visibility and picture, the window's own frame, and
// the pixels it shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "window/Design.h"
#include "window/qt/Artwork.h"
#include "window/qt/MarkerLayer.h"
#include "window/qt/QtControls.h"
#include "window/qt/SkinWindow.h"

namespace {

using window::Control;
using window::ControlDesign;
using window::ControlKind;
using window::Controls;
using window::PictureControl;
using window::qt::SkinWindow;

Control* elementZero(Control& control) {
    return &control;
}
template <class T>
Control* elementZero(window::ControlArray<T>& array) {
    return &array[0];
}

// Every control of the toolkit interface by its design name (element 0 for an array).
std::map<std::string_view, Control*> byName(Controls& c) {
#define QUARVEL_BY_NAME(name, ...) {#name, elementZero(c.name)},
    return {QUARVEL_DESIGN_TABLE(QUARVEL_BY_NAME)};
#undef QUARVEL_BY_NAME
}

// The hidden picture sources by name.
std::map<std::string, PictureControl*> sources(Controls& c) {
    std::map<std::string, PictureControl*> found;
    for (const ControlDesign& design : window::designedControls()) {
        if (design.kind == ControlKind::PictureSource) {
            found[std::string(design.name)] =
                dynamic_cast<PictureControl*>(byName(c).at(design.name));
        }
    }
    return found;
}

QRect designedBox(const ControlDesign& design) {
    return {design.box.left, design.box.top, design.box.width, design.box.height};
}

QRectF exactBox(const Control& control) {
    return {control.left(), control.top(), control.width(), control.height()};
}

// Where the control really is on screen: a widget's geometry, or the marker
// record's rounded box.
QRect shownBox(const Control& control) {
    if (const auto* widget = dynamic_cast<const QWidget*>(&control)) {
        return widget->geometry();
    }
    if (const auto* icon = dynamic_cast<const window::qt::MarkerIcon*>(&control)) {
        return icon->storedGeometry().pixels();
    }
    if (const auto* number = dynamic_cast<const window::qt::MarkerNumber*>(&control)) {
        return number->storedGeometry().pixels();
    }
    return {};
}

bool hasKind(Control& control, ControlKind kind) {
    switch (kind) {
        case ControlKind::ShapeOutline:
            return dynamic_cast<window::qt::OutlineWidget*>(&control) != nullptr;
        case ControlKind::PictureBox:
            return dynamic_cast<window::qt::PictureWidget*>(&control) != nullptr ||
                   dynamic_cast<window::qt::MarkerIcon*>(&control) != nullptr;
        case ControlKind::NumberBox:
            return dynamic_cast<window::qt::MarkerNumber*>(&control) != nullptr;
        case ControlKind::PictureSource:
            return dynamic_cast<window::SourcePicture*>(&control) != nullptr;
    }
    return false;
}

QImage imageOf(const window::Picture& picture) {
    return picture ? picture->pixmap().toImage() : QImage();
}

class Design : public testing::Test {
protected:
    Controls& ui() { return m_skin.controls(); }

    SkinWindow m_skin;
};

TEST_F(Design, EveryControlHasItsKindPlaceVisibilityAndPictureAtLoad) {
    const auto controls = byName(ui());
    ASSERT_EQ(controls.size(), window::designedControls().size());
    std::set<const Control*> distinct;
    for (const auto& [name, control] : controls) {
        EXPECT_TRUE(distinct.insert(control).second) << name << " is a control of its own";
    }
    for (const ControlDesign& row : window::designedControls()) {
        SCOPED_TRACE(std::string(row.name));
        Control& control = *controls.at(row.name);
        EXPECT_TRUE(hasKind(control, row.kind));
        if (row.kind == ControlKind::PictureSource) {
            continue;
        }
        EXPECT_EQ(exactBox(control), QRectF(designedBox(row)));
        EXPECT_EQ(shownBox(control), designedBox(row));
        EXPECT_TRUE(control.isVisible());
        if (row.kind == ControlKind::PictureBox) {
            const auto shown = dynamic_cast<PictureControl&>(control).picture();
            const auto expected =
                row.picture.empty()
                    ? nullptr
                    : dynamic_cast<PictureControl&>(*controls.at(row.picture)).picture();
            EXPECT_EQ(shown, expected)
                << "shows " << (row.picture.empty() ? "no picture" : row.picture);
        }
        if (row.kind == ControlKind::NumberBox) {
            EXPECT_EQ(dynamic_cast<window::TextBox&>(control).text(), row.text);
        }
    }
}

TEST_F(Design, EverySourceHoldsItsOwnArtwork) {
    QSet<const window::PictureData*> distinct;
    for (const auto& [name, source] : sources(ui())) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(source->picture());
        distinct.insert(source->picture().get());
        EXPECT_EQ(imageOf(source->picture()), window::qt::artworkPicture(name).toImage());
    }
    EXPECT_EQ(distinct.size(), 16);
}

// The widgets the window is made of: the outlines, the marker layer, the
// arrows and the buttons; anything else on screen would be a stray control.
QStringList shownWidgets(const SkinWindow& skin) {
    QStringList shown;
    for (const QWidget* child : skin.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&skin)) {
            continue;
        }
        if (dynamic_cast<const window::qt::OutlineWidget*>(child)) {
            shown << "outline";
        } else if (dynamic_cast<const window::qt::MarkerLayer*>(child)) {
            shown << "markers";
        } else {
            shown << (child->objectName().isEmpty() ? QString(child->metaObject()->className())
                                                    : child->objectName());
        }
    }
    shown.sort();
    return shown;
}

TEST_F(Design, NoHiddenSourceEverBecomesAShownControl) {
    const QStringList designed{"Image3",   "Image4",  "bDuplicate", "bForget", "bReflect",
                               "bRefresh", "markers", "outline",    "outline"};
    m_skin.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_skin));
    EXPECT_EQ(shownWidgets(m_skin), designed);

    for (const auto& [name, source] : sources(ui())) {
        source->setVisible(true);
        EXPECT_FALSE(source->isVisible()) << name;
    }
    EXPECT_EQ(shownWidgets(m_skin), designed);
}

TEST_F(Design, WindowIsBorderlessFixedAndNamed) {
    EXPECT_TRUE(m_skin.isWindow());
    EXPECT_TRUE(m_skin.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(m_skin.windowTitle(), "Quarvel");
    EXPECT_EQ(m_skin.minimumSize(), QSize(820, 558));
    EXPECT_EQ(m_skin.maximumSize(), QSize(820, 558));

    m_skin.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_skin));
    m_skin.resize(900, 600);
    EXPECT_EQ(m_skin.size(), QSize(820, 558));
    EXPECT_EQ(m_skin.windowHandle()->minimumSize(), QSize(820, 558));
    EXPECT_EQ(m_skin.windowHandle()->maximumSize(), QSize(820, 558));
}

TEST_F(Design, WindowIconIsTheLogo) {
    const QIcon icon = m_skin.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(QSize(23, 15)).toImage().convertToFormat(QImage::Format_RGB32),
              window::qt::artworkPicture("logo").toImage().convertToFormat(QImage::Format_RGB32));
}

TEST_F(Design, TabGivesFocusToNothing) {
    for (const QWidget* widget : m_skin.findChildren<QWidget*>()) {
        EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus) << widget->metaObject()->className();
    }
    m_skin.show();
    m_skin.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_skin));
    QTest::keyClick(&m_skin, Qt::Key_Tab);
    QTest::keyClick(&m_skin, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
}

TEST(NumberBoxFont, IsArialAtSixAndThreeQuarterPointsRegular) {
    const QFont font = window::qt::MarkerLayer::numberFont();
    EXPECT_EQ(font.family(), "Arial");
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 6.75);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());
    const QFontInfo resolved(font);
    // Arial itself or its metric twin; at 96 dpi 6.75 points are 9 pixels.
    EXPECT_TRUE(resolved.family() == "Arial" || resolved.family() == "Liberation Sans")
        << resolved.family().toStdString();
    EXPECT_EQ(resolved.pixelSize(), 9);
}

bool isInk(QRgb pixel) {
    return qGray(pixel) < 160;
}

// The columns, relative to the box, that hold ink.
std::pair<int, int> inkColumns(const QImage& shot, QRect box) {
    int first = box.width();
    int last = -1;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (isInk(shot.pixel(x, y))) {
                first = std::min(first, x - box.left());
                last = std::max(last, x - box.left());
            }
        }
    }
    return {first, last};
}

class NumberBoxLook : public Design, public testing::WithParamInterface<const char*> {};

TEST_P(NumberBoxLook, BlackTextCentredOnFlatWhite) {
    ASSERT_DOUBLE_EQ(m_skin.devicePixelRatioF(), 1.0);
    const QImage shot = m_skin.grab().toImage();
    const QRect box = designedBox(window::controlDesign(GetParam()));
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            // White ground with grey-scale anti-aliased black text, nothing else.
            ASSERT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel))
                << x << "," << y;
        }
    }
    // Flat: no sunken frame darkens the edges.
    for (int x = box.left(); x <= box.right(); ++x) {
        EXPECT_EQ(shot.pixel(x, box.top()), qRgb(255, 255, 255)) << x;
    }
    for (int y = box.top(); y <= box.bottom(); ++y) {
        EXPECT_EQ(shot.pixel(box.left(), y), qRgb(255, 255, 255)) << y;
    }
    const auto [first, last] = inkColumns(shot, box);
    ASSERT_LE(first, last) << "no text";
    EXPECT_LE(std::abs(first - (box.width() - 1 - last)), 1) << "text is centred";
}

INSTANTIATE_TEST_SUITE_P(DesignTexts, NumberBoxLook, testing::Values("Text3", "Text4"),
                         [](const auto& row) { return std::string(row.param); });

TEST_F(Design, SkinsLastRowNeverShows) {
    ASSERT_DOUBLE_EQ(m_skin.devicePixelRatioF(), 1.0);
    const QImage skin =
        window::qt::artworkPicture("skin").toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(skin.size(), QSize(820, 559));
    const QImage shot = m_skin.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(820, 558));

    const auto row = [](const QImage& image, int y) { return image.copy(0, y, image.width(), 1); };
    // The last two skin rows differ, so the comparison tells them apart.
    ASSERT_NE(row(skin, 557), row(skin, 558));
    EXPECT_EQ(row(shot, 557), row(skin, 557));
    // And the skin is drawn unscaled from the corner: its top rows match too.
    EXPECT_EQ(row(shot, 0), row(skin, 0));
}

}  // namespace
