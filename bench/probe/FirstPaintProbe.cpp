// A Qt generic plugin that watches an unmodified program from inside: loaded
// with QT_QPA_GENERIC_PLUGINS=quarvelprobe, it waits for the first paint of a
// top-level window and then acts as QUARVEL_PROBE says:
//
//   firstpaint  print "first-paint-ns=<CLOCK_MONOTONIC>" and end the process at once
//   reflect     print the same line, then click the window's "bReflect" picture
//
// The time is taken once the paint event has been handled and the backing
// store flushed: a zero timer started from the paint runs only after that.

#include <unistd.h>
#include <QApplication>
#include <QGenericPlugin>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

void click(QWidget& target) {
    const QPointF at(target.width() / 2.0, target.height() / 2.0);
    const QPointF global = target.mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&target, &release);
}

class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(bool reflect) : m_reflect(reflect) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_seen = true;
            auto* window = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, this, [this, window] { afterFirstPaint(*window); });
        }
        return false;
    }

private:
    void afterFirstPaint(QWidget& window) {
        std::printf("first-paint-ns=%lld\n", monotonicNs());
        std::fflush(stdout);
        if (!m_reflect) {
            _exit(0);
        }
        if (auto* button = window.findChild<QWidget*>("bReflect")) {
            std::printf("click-ns=%lld\n", monotonicNs());
            std::fflush(stdout);
            click(*button);
        }
    }

    bool m_reflect;
    bool m_seen = false;
};

class FirstPaintProbe : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "probe.json")
public:
    QObject* create(const QString& key, const QString&) override {
        if (key.compare(QLatin1String("quarvelprobe"), Qt::CaseInsensitive) != 0) {
            return nullptr;
        }
        const bool reflect = qEnvironmentVariable("QUARVEL_PROBE") == QLatin1String("reflect");
        auto* watch = new FirstPaintWatch(reflect);
        QCoreApplication::instance()->installEventFilter(watch);
        return watch;
    }
};

}  // namespace

#include "FirstPaintProbe.moc"
