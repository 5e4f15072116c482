#include "window/qt/MessageBox.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>

#include "window/Design.h"

namespace window::qt {

void showMessageBox(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    // Some styles put a theme icon on the OK button; the box has no icon at all.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

}  // namespace window::qt
