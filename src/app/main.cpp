// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "befehlszeile.h"
#include "erstesbild.h"
#include "platform/fensteroben.h"
#include "platform/qtdialoge.h"
#include "platform/qteinstellungen.h"
#include "ui/anwendung.h"
#include "ui/artwork.h"
#include "ui/tipptabelle.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication::setApplicationName(QStringLiteral("Wurfkrone"));
    QApplication::setApplicationVersion(QStringLiteral(WK_VERSION));
    wk::befehlszeileLesen(argc, argv);
    QApplication app(argc, argv);
    // Lets the desktop match the running windows to the installed menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Wurfkrone"));
    wk::ErstesBild erstesBild;
    const bool messen = erstesBild.beiBedarfEinsetzen(app);

    wk::QtMeldung meldung;
    wk::QtEingabe eingabe;
    wk::QtLinkOeffner links;
    wk::QtFensterOben fensterOben;
    wk::QtEinstellungen einstellungen(wk::QtEinstellungen::standardPfad());
    const wk::Artwork artwork(app.devicePixelRatio());

    // The coach's table, computed once the start window has been painted.
    wk::Tipptabelle tipptabelle;
    if (messen) {
        QObject::connect(&tipptabelle, &wk::Tipptabelle::fertig, [] { wk::ErstesBild::melden("tipptabelle-fertig"); });
    }
    wk::Anwendung anwendung({meldung, eingabe, links, fensterOben, einstellungen}, artwork, tipptabelle);
    QObject::connect(&anwendung, &wk::Anwendung::beendet, &app, &QApplication::quit, Qt::QueuedConnection);
    anwendung.starten();
    return app.exec();
}
