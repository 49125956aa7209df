#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace wk {

// Start-up measurement (bench/run): installed on the application when
// WURFKRONE_MESSEN=1 is set, it writes "erstes-bild <ns>" to standard output
// once the first window has been painted for the first time, <ns> being the
// steady clock (CLOCK_MONOTONIC) in nanoseconds. The game and the reference
// program of bench/ use this one hook, so both are timed alike.
class ErstesBild : public QObject {
public:
    bool eventFilter(QObject* ziel, QEvent* ereignis) override {
        if (ereignis->type() == QEvent::Paint && ziel->isWidgetType() && static_cast<QWidget*>(ziel)->isWindow()) {
            qApp->removeEventFilter(this);
            // Queued, so it runs once this paint has been finished and flushed.
            QMetaObject::invokeMethod(this, [] {
                const auto jetzt = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("erstes-bild %lld\n",
                            static_cast<long long>(std::chrono::nanoseconds(jetzt).count()));
                std::fflush(stdout);
            }, Qt::QueuedConnection);
        }
        return false;
    }

    // Installs the hook when the environment asks for it.
    void beiBedarfEinsetzen(QApplication& app) {
        if (qEnvironmentVariableIntValue("WURFKRONE_MESSEN") == 1) {
            app.installEventFilter(this);
        }
    }
};

} // namespace wk
