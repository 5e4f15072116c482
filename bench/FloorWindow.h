#pragma once

// The floor for start-up: a plain borderless window of the tool's size that
// paints one picture, loaded from a file, and nothing else.

#include <QPixmap>
#include <QWidget>

namespace bench {

class FloorWindow : public QWidget {
public:
    explicit FloorWindow(QPixmap picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
};

}  // namespace bench
