#pragma once

// The floor for repainting the window: the tool's size, its skin as a plain
// picture, and the given markers, each a page icon drawn from a picture made
// once per icon and size, with its page number from cached digit pictures
// where the number fits. Window pixels.

#include <QPixmap>
#include <QWidget>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "window/qt/DigitPictures.h"

namespace bench {

struct FloorMarker {
    QRect box;
    std::string icon;    // the artwork's name
    std::string number;  // digits
};

class RepaintFloor : public QWidget {
public:
    RepaintFloor(QPixmap skin, std::vector<FloorMarker> markers);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_skin;
    std::vector<FloorMarker> m_markers;
    std::map<std::tuple<std::string, int, int>, QPixmap> m_icons;
    window::qt::DigitPictures m_digits;
};

}  // namespace bench
