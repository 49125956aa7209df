// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// What the figures of the highscore store share (speichermessung.cpp,
// speicherlast.cpp): games entered as the game enters them, the list read
// back, a lock held as another program holds it, the table printed.
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <time.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace messung {

// Counts what the player is told.
struct ZaehlendeMeldung : wk::Meldung {
    void zeigen(const std::string&) override { ++gezeigt; }
    int gezeigt = 0;
};

inline double median(std::vector<double> werte) {
    if (werte.empty()) return 0;
    std::sort(werte.begin(), werte.end());
    const std::size_t n = werte.size();
    return n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
}

inline QByteArray lies(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

// Hands a game of one Runde with one player to `highscore`.
inline void spielEintragen(wk::Highscore& highscore, const std::string& name, double punkte) {
    wk::Spielstand stand;
    stand.spielerAnlegen(1);
    stand.Namen[1] = name;
    stand.Gesamtpunkte[1] = punkte;
    highscore.Auswertung(stand);
}

// The list of one Runde as "Name:Punkte", read by a store of its own.
inline std::vector<std::string> liste(const QString& pfad) {
    wk::QtEinstellungen speicher(pfad);
    ZaehlendeMeldung meldung;
    const wk::HighscoreAnzeige anzeige = wk::Highscore(speicher, meldung).highscore_anzeigen(1, false);
    std::vector<std::string> eintraege;
    for (int i = 0; i < wk::ListenLaenge; ++i) eintraege.push_back(anzeige.namen[i] + ":" + anzeige.punkte[i]);
    return eintraege;
}

// The points of place 1 of a list entry "Name:Punkte".
inline int punkte(const std::string& eintrag) { return std::atoi(eintrag.substr(eintrag.rfind(':') + 1).c_str()); }

// The next start: enters what journals hold and removes what programs left.
inline void naechsterStart(const QString& pfad) {
    wk::QtEinstellungen speicher(pfad);
    speicher.nachtragen();
    speicher.warten(std::chrono::minutes(2));
}

// The store's lock, waited for and held as another program holds it while
// it saves (the file it locks may have been removed by its holder meanwhile).
inline int sperreNehmen(const QString& pfad) {
    const QByteArray name = QFile::encodeName(pfad + QStringLiteral(".sperre"));
    for (;;) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return -1;
        struct stat offen{}, jetzt{};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &offen) == 0 && ::stat(name.constData(), &jetzt) == 0 && offen.st_ino == jetzt.st_ino) return fd;
        ::close(fd);
    }
}

inline double zeitMs(const std::function<void()>& arbeit) {
    QElapsedTimer uhr;
    uhr.start();
    arbeit();
    return double(uhr.nsecsElapsed()) / 1e6;
}

// The CPU time of this thread for `arbeit`: what it costs on a machine busy
// with other programs, where the wall-clock time grows with their load.
inline double cpuMs(const std::function<void()>& arbeit) {
    timespec vorher{}, nachher{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &vorher);
    arbeit();
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &nachher);
    return double(nachher.tv_sec - vorher.tv_sec) * 1e3 + double(nachher.tv_nsec - vorher.tv_nsec) / 1e6;
}

inline void zeile(const std::string& was, const std::string& wert, const std::string& ziel = "", std::optional<bool> erfuellt = {}) {
    std::printf("| %-62s | %-26s | %-12s | %-4s |\n", was.c_str(), wert.c_str(), ziel.c_str(),
                erfuellt ? (*erfuellt ? "PASS" : "MISS") : "");
    std::fflush(stdout);
}

inline std::string ms(double wert) { return QString::number(wert, 'f', wert < 10 ? 2 : 1).toStdString() + " ms"; }
inline std::string mb(double wert) { return QString::number(wert, 'f', 1).toStdString() + " MB"; }

// Figures of speicherlast.cpp; `selbst` is this program, run with the helper options.
void zugleich(const QString& selbst, int versuche);
void angehalten(const QString& selbst);
void platteUndRechte();
// The helpers: --reihe, --halten.
int helfer(const QStringList& args);

} // namespace messung
