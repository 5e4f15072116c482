#include "window/qt/Artwork.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace window::qt {
namespace {

const QColor kPanel(112, 157, 188);

QImage image(std::string_view name) {
    return artworkPicture(name).toImage();
}

// Mean of (blue - red) over the whole picture: how blue it looks.
double blueness(const QImage& picture) {
    double sum = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            sum += c.blue() - c.red();
        }
    }
    return sum / (picture.width() * picture.height());
}

int differingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return count;
}

bool nearWhite(const QColor& c) {
    return std::min({c.red(), c.green(), c.blue()}) >= 235;
}

// Pixels of a line (row or column) that stand out from the panel.
int drawnPixels(const QImage& picture, bool row, int index) {
    const int length = row ? picture.width() : picture.height();
    int count = 0;
    for (int i = 0; i < length; ++i) {
        const QColor c = row ? picture.pixelColor(i, index) : picture.pixelColor(index, i);
        count += std::abs(c.red() - kPanel.red()) + std::abs(c.blue() - kPanel.blue()) > 20;
    }
    return count;
}

struct DesignSize {
    const char* name;
    int width;
    int height;
};

class ArtworkSizes : public ::testing::TestWithParam<DesignSize> {};

TEST_P(ArtworkSizes, RendersAtItsDesignSize) {
    const DesignSize& row = GetParam();
    EXPECT_EQ(artworkSize(row.name), QSize(row.width, row.height));
    const QPixmap picture = artworkPicture(row.name);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(row.width, row.height));
}

INSTANTIATE_TEST_SUITE_P(
    EveryPicture, ArtworkSizes,
    ::testing::Values(DesignSize{"skin", 820, 559}, DesignSize{"logo", 23, 15},
                      DesignSize{"tReflectUp", 228, 56}, DesignSize{"tReflectDown", 228, 56},
                      DesignSize{"tDuplicateUp", 228, 56}, DesignSize{"tDuplicateDown", 228, 56},
                      DesignSize{"tRefreshUp", 228, 56}, DesignSize{"tRefreshDown", 228, 56},
                      DesignSize{"tForgetUp", 228, 56}, DesignSize{"tForgetDown", 228, 56},
                      DesignSize{"tArrUp0", 110, 38}, DesignSize{"tArrDwn0", 110, 38},
                      DesignSize{"tArrUp90", 38, 110}, DesignSize{"tArrDwn90", 38, 110},
                      DesignSize{"page0", 480, 680}, DesignSize{"page90", 680, 480},
                      DesignSize{"page180", 480, 680}, DesignSize{"page270", 680, 480}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Artwork, NamesListEveryPictureOnce) {
    const std::vector<std::string_view> names = artworkNames();
    EXPECT_EQ(names.size(), 18u);
    for (std::string_view name : names) {
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
        EXPECT_NO_THROW(artworkSize(name)) << name;
    }
}

TEST(Artwork, UnknownNameIsALogicError) {
    EXPECT_THROW(artworkPicture("tReflectSideways"), std::logic_error);
    EXPECT_THROW(artworkPicture("", QSize(10, 10)), std::logic_error);
    EXPECT_THROW(artworkSize("Skin"), std::logic_error);
}

TEST(Artwork, RenderingIsRepeatable) {
    for (const char* name : {"skin", "tForgetUp", "tArrDwn90", "page270"}) {
        EXPECT_EQ(image(name), image(name)) << name;
    }
}

TEST(Skin, PanelIsExactlySteelBlueAndFrameIsLight) {
    const QImage skin = image("skin");
    EXPECT_FALSE(skin.hasAlphaChannel());
    EXPECT_EQ(skin.pixelColor(410, 279), kPanel);
    EXPECT_EQ(skin.pixelColor(600, 470), kPanel);
    const QColor frame = skin.pixelColor(5, 279);
    EXPECT_GT(frame.lightness(), kPanel.lightness() + 40);
}

TEST(Skin, OutsideTheRoundedCornersIsNearWhite) {
    const QImage skin = image("skin");
    for (const QPoint corner : {QPoint(0, 0), QPoint(819, 0), QPoint(0, 557), QPoint(819, 557)}) {
        EXPECT_TRUE(nearWhite(skin.pixelColor(corner))) << corner.x() << "," << corner.y();
    }
    // Midway along each edge the frame reaches the border: it is not near-white there.
    EXPECT_FALSE(nearWhite(skin.pixelColor(410, 557)));
    EXPECT_FALSE(nearWhite(skin.pixelColor(819, 279)));
}

TEST(Skin, CarriesTheLogoAndABlueCaptionTopLeft) {
    const QImage skin = image("skin");
    int deepBlue = 0;
    for (int y = 14; y < 64; ++y) {
        for (int x = 80; x < 220; ++x) {
            const QColor c = skin.pixelColor(x, y);
            deepBlue += c.blue() > c.red() + 60 && c.lightness() < 90;
        }
    }
    EXPECT_GT(deepBlue, 200) << "caption lettering";
    const QColor logoLeft = skin.pixelColor(28, 36);
    EXPECT_GT(logoLeft.blue(), logoLeft.red() + 80);
    EXPECT_LT(logoLeft.lightness(), 100);
}

TEST(Logo, ShadesDeepBlueToPaleBlueWithALighterInset) {
    const QImage logo = image("logo");
    const QColor left = logo.pixelColor(2, 7);
    const QColor right = logo.pixelColor(20, 7);
    EXPECT_GT(left.blue(), left.red() + 80);
    EXPECT_GT(right.lightness(), left.lightness() + 80);
    EXPECT_GE(right.blue(), right.red());
    EXPECT_GT(logo.pixelColor(11, 7).lightness(), logo.pixelColor(11, 2).lightness() + 20);
}

struct Button {
    const char* up;
    const char* down;
};

class ButtonFaces : public ::testing::TestWithParam<Button> {};

TEST_P(ButtonFaces, DownIsABluePillAndUpASilverOne) {
    const QImage up = image(GetParam().up);
    const QImage down = image(GetParam().down);
    EXPECT_GT(differingPixels(up, down), up.width() * up.height() / 2);
    EXPECT_GT(blueness(down), 100.0);
    // The left end of the pill, clear of the words: neutral grey when up.
    const QColor silver = up.pixelColor(14, 30);
    EXPECT_LE(std::abs(silver.blue() - silver.red()), 16);
    EXPECT_GT(silver.lightness(), 150);
    // Outside the rounded ends the face shows the panel.
    EXPECT_EQ(up.pixelColor(0, 0), kPanel);
    EXPECT_EQ(down.pixelColor(227, 0), kPanel);
}

TEST_P(ButtonFaces, WordsAreDarkBlueOnTheUpFace) {
    const QImage up = image(GetParam().up);
    int lettering = 0;
    for (int x = 40; x < 188; ++x) {
        for (int y = 16; y < 40; ++y) {
            const QColor c = up.pixelColor(x, y);
            lettering += c.blue() > c.red() + 50 && c.lightness() < 100;
        }
    }
    EXPECT_GT(lettering, 250);
}

INSTANTIATE_TEST_SUITE_P(EveryButton, ButtonFaces,
                         ::testing::Values(Button{"tReflectUp", "tReflectDown"},
                                           Button{"tDuplicateUp", "tDuplicateDown"},
                                           Button{"tRefreshUp", "tRefreshDown"},
                                           Button{"tForgetUp", "tForgetDown"}),
                         [](const auto& row) { return std::string(row.param.up); });

struct Arrow {
    const char* situation;
    const char* pale;
    const char* vivid;
    bool horizontal;
};

class Arrows : public ::testing::TestWithParam<Arrow> {};

TEST_P(Arrows, VividIsBlueAndDarkEdgedPaleStaysCloseToThePanel) {
    const QImage pale = image(GetParam().pale);
    const QImage vivid = image(GetParam().vivid);
    EXPECT_GT(blueness(vivid), blueness(pale) + 15);
    int darkest = 255;
    for (int y = 0; y < vivid.height(); ++y) {
        for (int x = 0; x < vivid.width(); ++x) {
            darkest = std::min(darkest, vivid.pixelColor(x, y).lightness());
        }
    }
    EXPECT_LT(darkest, 60) << "dark outline";
    for (int y = 0; y < pale.height(); ++y) {
        for (int x = 0; x < pale.width(); ++x) {
            const QColor c = pale.pixelColor(x, y);
            ASSERT_LE(std::abs(c.lightness() - kPanel.lightness()), 30) << x << "," << y;
        }
    }
}

TEST_P(Arrows, HeadPointsRightOrUp) {
    const Arrow& arrow = GetParam();
    for (const char* name : {arrow.pale, arrow.vivid}) {
        const QImage picture = image(name);
        // Across the head the arrow is wide; across the tail it is narrow.
        const int head =
            arrow.horizontal ? drawnPixels(picture, false, 90) : drawnPixels(picture, true, 20);
        const int tail =
            arrow.horizontal ? drawnPixels(picture, false, 20) : drawnPixels(picture, true, 90);
        EXPECT_GT(head, tail + 8) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(BothDirections, Arrows,
                         ::testing::Values(Arrow{"Horizontal", "tArrUp0", "tArrDwn0", true},
                                           Arrow{"Vertical", "tArrUp90", "tArrDwn90", false}),
                         [](const auto& row) { return std::string(row.param.situation); });

enum class Head { Up, Left, Down, Right };

struct PageIcon {
    const char* name;
    Head head;
};

// The point on the centre line at `fraction` of the page's length from its head edge.
QPoint fromHead(QSize size, Head head, double fraction) {
    const auto along = [fraction](int length) { return int(fraction * length); };
    switch (head) {
        case Head::Up:
            return {size.width() / 2, along(size.height())};
        case Head::Down:
            return {size.width() / 2, size.height() - 1 - along(size.height())};
        case Head::Left:
            return {along(size.width()), size.height() / 2};
        case Head::Right:
            return {size.width() - 1 - along(size.width()), size.height() / 2};
    }
    return {};
}

class PageIcons : public ::testing::TestWithParam<PageIcon> {};

TEST_P(PageIcons, TriangleSitsNearTheHeadEdge) {
    const PageIcon& icon = GetParam();
    const QImage picture = image(icon.name);
    const QSize size = picture.size();
    EXPECT_EQ(picture.pixelColor(fromHead(size, icon.head, 0.15)), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(fromHead(size, icon.head, 0.85)).alpha(), 0);
    // Beyond the apex and beyond the base the centre line is clear again.
    EXPECT_EQ(picture.pixelColor(fromHead(size, icon.head, 0.04)).alpha(), 0);
    EXPECT_EQ(picture.pixelColor(fromHead(size, icon.head, 0.26)).alpha(), 0);
}

TEST_P(PageIcons, OutlineRunsAlongEveryEdge) {
    const QImage picture = image(GetParam().name);
    const int w = picture.width();
    const int h = picture.height();
    for (const QPoint edge :
         {QPoint(w / 2, 2), QPoint(w / 2, h - 3), QPoint(2, h / 2), QPoint(w - 3, h / 2)}) {
        EXPECT_EQ(picture.pixelColor(edge), QColor(Qt::black)) << edge.x() << "," << edge.y();
    }
    EXPECT_EQ(picture.pixelColor(w / 4, h / 2).alpha(), 0) << "the page is not filled";
}

TEST_P(PageIcons, StaysReadableAtMarkerSize) {
    const PageIcon& icon = GetParam();
    const QSize small = artworkSize(icon.name).scaled(34, 34, Qt::KeepAspectRatio);
    const QImage picture = artworkPicture(icon.name, small).toImage();
    ASSERT_EQ(picture.size(), small);
    EXPECT_GT(picture.pixelColor(fromHead(small, icon.head, 0.15)).alpha(), 160);
    EXPECT_EQ(picture.pixelColor(fromHead(small, icon.head, 0.85)).alpha(), 0);
    EXPECT_GT(picture.pixelColor(0, small.height() / 2).alpha(), 160) << "outline";
}

INSTANTIATE_TEST_SUITE_P(EveryAngle, PageIcons,
                         ::testing::Values(PageIcon{"page0", Head::Up},
                                           PageIcon{"page90", Head::Left},
                                           PageIcon{"page180", Head::Down},
                                           PageIcon{"page270", Head::Right}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Artwork, EmptySizeGivesANullPicture) {
    EXPECT_TRUE(artworkPicture("page0", QSize(0, 40)).isNull());
}

}  // namespace
}  // namespace window::qt
