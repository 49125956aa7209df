#pragma once

// What the highscore tests share: lists written as "Name:Punkte" per place.

#include <QStringList>

#include "game/spielstand.h"
#include "highscore/highscore.h"

inline QString q(const std::string& text) { return QString::fromStdString(text); }

// Twenty places: the given ones first, then `rest`.
inline QStringList plaetze(QStringList anfang, const QString& rest = QStringLiteral("0:0")) {
    while (anfang.size() < wk::ListenLaenge) anfang << rest;
    return anfang;
}

// The list of one-Runde games as the start window shows it.
inline QStringList angezeigt(wk::Highscore& highscore) {
    const wk::HighscoreAnzeige anzeige = highscore.highscore_anzeigen(1, false);
    QStringList liste;
    for (int i = 0; i < wk::ListenLaenge; ++i) liste << q(anzeige.namen[i] + ":" + anzeige.punkte[i]);
    return liste;
}

// A finished game of `runden` Runden with these players and totals.
inline wk::Spielstand spiel(int runden, const QStringList& namen, const QList<double>& punkte) {
    wk::Spielstand stand;
    stand.Runden = runden;
    stand.spielerAnlegen(int(namen.size()));
    for (int p = 1; p <= namen.size(); ++p) {
        stand.Namen[p] = namen[p - 1].toStdString();
        stand.Gesamtpunkte[p] = punkte[p - 1];
    }
    return stand;
}
