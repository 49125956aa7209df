// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The store's files as tst_speicherfehler looks at them: what was flushed to
// disk, permissions, contents, the lists shown and entered, dead processes.

#include <QFile>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTest>

#include <chrono>
#include <mutex>
#include <set>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"


inline std::mutex protokollSperre;
inline QStringList warnungen;  // the store's thread logs too
inline std::set<ino_t> gesichert;  // files flushed to disk by the store
inline QList<QByteArray> gesicherteTexte;  // the small ones, as they were then

// The store's way to flush a file, watched: every file it puts in place must
// have been flushed before, while it was still a draft.
inline int sichern(int fd) {
    struct stat s{};
    ::fstat(fd, &s);
    QFile text(QStringLiteral("/proc/self/fd/%1").arg(fd));  // opened for writing only: read anew
    const bool entwurf = text.symLinkTarget().endsWith(QStringLiteral(".neu")) || text.symLinkTarget().contains(QStringLiteral(".neu-"));
    const bool klein = s.st_size < 1 << 20 && text.open(QIODevice::ReadOnly);
    const std::lock_guard lage(protokollSperre);
    if (entwurf) gesichert.insert(s.st_ino);
    if (klein) gesicherteTexte << text.readAll();
    return ::fdatasync(fd);
}

inline bool gesichertWurde(const QString& pfad) {
    struct stat s{};
    const std::lock_guard lage(protokollSperre);
    return ::stat(QFile::encodeName(pfad).constData(), &s) == 0 && gesichert.contains(s.st_ino);
}

inline int modus(const QString& pfad) {
    struct stat s{};
    return ::stat(QFile::encodeName(pfad).constData(), &s) == 0 ? int(s.st_mode & 07777) : -1;
}

// As text, a leading byte-order mark included (QString::fromStdString drops it).
inline QString q(const std::string& text) { return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)(text); }

// Twenty places as "Name:Punkte": the given ones first, then `rest`.
inline QStringList plaetze(QStringList anfang, const QString& rest = QStringLiteral("0:0")) {
    while (anfang.size() < wk::ListenLaenge) anfang << rest;
    return anfang;
}

// The list of one-Runde games in `speicher` as the start window shows it.
inline QStringList angezeigt(wk::Einstellungen& speicher, int laenge = 1) {
    FakeMeldung meldung;
    const wk::HighscoreAnzeige anzeige = wk::Highscore(speicher, meldung).highscore_anzeigen(laenge, false);
    QStringList liste;
    for (int i = 0; i < wk::ListenLaenge; ++i) liste << q(anzeige.namen[i] + ":" + anzeige.punkte[i]);
    return liste;
}

// Enters a finished game of one Runde with these players, as "Name:Punkte"
// in player order ("nan" and "inf" for points that are no number), and
// returns what the player was told, once the store has entered the game or
// told. A store in memory enters it at once, without a word.
inline QStringList eintragen(wk::Einstellungen& speicher, const QStringList& spieler) {
    wk::Spielstand stand;
    stand.spielerAnlegen(int(spieler.size()));
    for (int p = 1; p <= spieler.size(); ++p) {
        stand.Namen[p] = spieler[p - 1].section(':', 0, -2).toStdString();
        stand.Gesamtpunkte[p] = spieler[p - 1].section(':', -1).toDouble();
    }
    FakeMeldung meldung;
    wk::Highscore highscore(speicher, meldung);
    highscore.Auswertung(stand);
    auto* echt = dynamic_cast<wk::QtEinstellungen*>(&speicher);
    if (!QTest::qWaitFor([&] { return !meldung.texte.empty() || !echt || echt->warten(std::chrono::milliseconds(0)); }, 20000)) return {"(nothing told, nothing saved)"};
    QTest::qWait(echt ? 50 : 0);  // a message told late would come now
    QStringList texte;
    for (const std::string& text : meldung.texte) texte << QString::fromStdString(text);
    return texte;
}

inline QByteArray inhalt(const QString& pfad) {
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}
inline bool schreibeDatei(const QString& pfad, const QByteArray& bytes) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly) && datei.write(bytes) == bytes.size();
}

// A figure of this program in KB from /proc/self/status ("VmRSS:").
inline qint64 kb(const char* zeile) {
    const QByteArray status = inhalt(QStringLiteral("/proc/self/status"));
    return status.mid(status.indexOf(zeile) + 6).trimmed().split(' ').front().toLongLong();
}

// The process id of a program that has ended.
inline qint64 toterProzess() {
    const pid_t kind = fork();
    if (kind == 0) _exit(0);
    waitpid(kind, nullptr, 0);
    return kind;
}
