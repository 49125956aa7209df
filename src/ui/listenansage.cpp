// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/listenansage.h"

#include "game/zahltext.h"
#include "highscore/highscore.h"
#include "platform/klartext.h"

#include <QStringList>
#include <QWidget>

namespace wk {
namespace {

// The full text of a label of the window: zeigeText keeps it as the
// accessible description, whatever fits on screen.
QString voll(const QWidget& fenster, const QString& name) {
    const auto* label = fenster.findChild<const QWidget*>(name);
    return label ? label->accessibleDescription() : QString();
}

} // namespace

QString listenAnsage(const QWidget& startfenster) {
    QStringList plaetze;
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        const QString punkte = voll(startfenster, QStringLiteral("Punkt_%1").arg(platz - 1));
        if (zahlAusText(punkte.toStdString()) > 0) {
            // The name as its label holds it: between U+2068 and U+2069.
            const QString name = einzeilig(voll(startfenster, QStringLiteral("Vorname_%1").arg(platz - 1)));
            plaetze << QStringLiteral("%1. %2 %3").arg(platz).arg(name, punkte);
        }
    }
    return voll(startfenster, QStringLiteral("Label4")) + u' ' +
           (plaetze.isEmpty() ? QStringLiteral("Die Liste ist leer.") : plaetze.join(QStringLiteral(", ")) + u'.');
}

} // namespace wk
