// Markers larger than the window: only the part that shows is drawn, and it
// looks exactly like that part of the whole picture. Page numbers show only
// where they fit in their markers, and look as the text they stand for.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "window/MarkerClip.h"
#include "window/qt/Artwork.h"
#include "window/qt/MarkerLayer.h"
#include "window/qt/SkinWindow.h"

namespace {

using window::PixelBox;

struct ClipCase {
    const char* situation;
    PixelBox marker;
    PixelBox shown;
};

void PrintTo(const ClipCase& row, std::ostream* os) {
    *os << row.situation;
}

class MarkerClip : public testing::TestWithParam<ClipCase> {};

TEST_P(MarkerClip, KeepsThePartInsideTheView) {
    const ClipCase& row = GetParam();
    const PixelBox shown = window::visiblePart(row.marker, {0, 0, 820, 558});
    EXPECT_EQ(shown.left, row.shown.left);
    EXPECT_EQ(shown.top, row.shown.top);
    EXPECT_EQ(shown.width, row.shown.width);
    EXPECT_EQ(shown.height, row.shown.height);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, MarkerClip,
    testing::Values(ClipCase{"Inside", {10, 20, 30, 40}, {10, 20, 30, 40}},
                    ClipCase{"OverTheTopLeftCorner", {-5, -10, 30, 40}, {0, 0, 25, 30}},
                    ClipCase{"OverTheBottomRightCorner", {800, 550, 30, 40}, {800, 550, 20, 8}},
                    // A rectangle a hundred times the sheet, rounded to the 16-bit range.
                    ClipCase{
                        "AsLargeAsTheRangeAllows", {-32768, -32768, 32767, 32767}, {0, 0, 0, 0}},
                    ClipCase{"CoveringTheWindow", {-32768, -32768, 65535, 65535}, {0, 0, 820, 558}},
                    ClipCase{"BesideTheWindow", {820, 0, 100, 100}, {0, 0, 0, 0}},
                    ClipCase{"OfNegativeWidth", {10, 10, -20, 40}, {0, 0, 0, 0}}),
    [](const testing::TestParamInfo<ClipCase>& param) { return param.param.situation; });

// The layer's pixels where only the front icon of element 0 shows, at `box`.
QImage paintedIcon(QRect box) {
    window::qt::SkinWindow skin;
    window::qt::MarkerLayer* layer = nullptr;
    for (QObject* child : skin.children()) {  // the layer has no meta-object of its own
        layer = layer ? layer : dynamic_cast<window::qt::MarkerLayer*>(child);
    }
    if (!layer) {
        ADD_FAILURE() << "the window has no marker layer";
        return {};
    }
    layer->frontNumbers().element0().setVisible(false);  // designed visible: not under test
    layer->backNumbers().element0().setVisible(false);
    auto& icon = layer->frontIcons().element0();
    icon.setPicture(skin.controls().page0.picture());
    icon.setLeft(float(box.left()));
    icon.setTop(float(box.top()));
    icon.setWidth(float(box.width()));
    icon.setHeight(float(box.height()));
    icon.setVisible(true);
    QImage image(layer->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    layer->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

TEST(MarkerLayer, APartlyShownMarkerDrawsThatPartOfTheWholePicture) {
    const QRect box(-300, -200, 1200, 900);
    const QImage painted = paintedIcon(box);
    QImage expected(painted.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    {
        QPainter painter(&expected);
        painter.drawPixmap(box.topLeft(), window::qt::artworkPicture("page0", box.size()));
    }
    int differing = 0;
    int drawn = 0;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            const QRgb a = painted.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            drawn += qAlpha(b) != 0 ? 1 : 0;
            differing += std::abs(qAlpha(a) - qAlpha(b)) > 2 || std::abs(qGray(a) - qGray(b)) > 2;
        }
    }
    EXPECT_GT(drawn, 1000) << "the picture shows nothing there: the test would prove nothing";
    EXPECT_EQ(differing, 0);
}

struct NumberCase {
    const char* situation;
    QRect icon;  // front icon 0
    bool shown;  // whether number box 0 is painted
};

void PrintTo(const NumberCase& row, std::ostream* os) {
    *os << row.situation;
}

class MarkerNumber : public testing::TestWithParam<NumberCase> {};

// Number box 0 holding "65470" over icon 0, painted alone on a grey ground.
TEST_P(MarkerNumber, ShowsOnlyWhereItFitsInItsMarker) {
    const NumberCase& row = GetParam();
    window::qt::SkinWindow skin;
    window::qt::MarkerLayer* layer = nullptr;
    for (QObject* child : skin.children()) {
        layer = layer ? layer : dynamic_cast<window::qt::MarkerLayer*>(child);
    }
    ASSERT_NE(layer, nullptr);
    layer->backNumbers().element0().setVisible(false);
    auto& icon = layer->frontIcons().element0();
    icon.setLeft(float(row.icon.left()));
    icon.setTop(float(row.icon.top()));
    icon.setWidth(float(row.icon.width()));
    icon.setHeight(float(row.icon.height()));
    icon.setVisible(false);  // only the number is under test
    auto& number = layer->frontNumbers()[0];
    number.setText("65470");
    number.setLeft(100.0f);
    number.setTop(100.0f);
    number.setVisible(true);
    const QRect box(100, 100, int(number.width()), int(number.height()));
    QImage image(layer->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::gray);
    layer->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

    // As the text itself would be drawn there.
    QImage expected(layer->size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::gray);
    {
        QPainter painter(&expected);
        painter.setFont(window::qt::MarkerLayer::numberFont());
        painter.fillRect(box, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(box), Qt::AlignCenter, "65470");
    }
    int grey = 0, differing = 0, ink = 0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            grey += image.pixel(x, y) == QColor(Qt::gray).rgba() ? 1 : 0;
            ink += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
            differing += std::abs(qGray(image.pixel(x, y)) - qGray(expected.pixel(x, y))) > 96;
        }
    }
    if (row.shown) {
        EXPECT_GT(ink, 10) << "no digits";
        EXPECT_LE(differing, box.width() * box.height() / 20) << "the digits look unlike the text";
    } else {
        EXPECT_EQ(grey, box.width() * box.height()) << "a number drawn over a marker too small";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, MarkerNumber,
    testing::Values(NumberCase{"OnALargeMarker", {50, 50, 200, 80}, true},
                    NumberCase{"OnAMarkerJustTallEnough", {50, 50, 200, 12}, true},
                    NumberCase{"OnATinyMarker", {50, 50, 2, 2}, false},
                    NumberCase{"OnANarrowMarker", {50, 50, 10, 80}, false},
                    NumberCase{"OnAFlatMarker", {50, 50, 200, 5}, false}),
    [](const testing::TestParamInfo<NumberCase>& param) { return param.param.situation; });

}  // namespace
