#pragma once

// The floor for start-up: a bare borderless window of the tool's size that
// paints the tool's skin and nothing else.

#include <QPixmap>
#include <QWidget>

namespace bench {

class FloorWindow : public QWidget {
public:
    FloorWindow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_skin;
};

}  // namespace bench
