#include "platform/fensteroben.h"
#include "platform/qtdialoge.h"
#include "platform/qteinstellungen.h"
#include "ui/anwendung.h"
#include "ui/artwork.h"

#include <QApplication>

#include <chrono>
#include <cstdio>

namespace {

// Start-up measurement (bench/run): with WURFKRONE_MESSEN=1 in the environment
// the program writes "erstes-bild <ns>" to standard output once the first
// window has been painted for the first time, <ns> being the steady clock
// (CLOCK_MONOTONIC) in nanoseconds. The reference program of bench/ does the same.
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
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wurfkrone"));
    QApplication::setApplicationVersion(QStringLiteral(WK_VERSION));
    // Lets the desktop match the running windows to the installed menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Wurfkrone"));
    ErstesBild erstesBild;
    if (qEnvironmentVariableIntValue("WURFKRONE_MESSEN") == 1) {
        app.installEventFilter(&erstesBild);
    }

    wk::QtMeldung meldung;
    wk::QtEingabe eingabe;
    wk::QtLinkOeffner links;
    wk::QtFensterOben fensterOben;
    wk::QtEinstellungen einstellungen(wk::QtEinstellungen::standardPfad());
    const wk::Artwork artwork(app.devicePixelRatio());

    wk::Anwendung anwendung({meldung, eingabe, links, fensterOben, einstellungen}, artwork);
    QObject::connect(&anwendung, &wk::Anwendung::beendet, &app, &QApplication::quit, Qt::QueuedConnection);
    anwendung.starten();
    return app.exec();
}
