// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Several programs entering results into one highscore file at the same
// moment, and programs killed while they save: the lock of the settings store
// must let every transaction see the one before, so that no result is lost,
// and a killed program leaves a whole file and nothing that outlives the next
// save.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <list>
#include <optional>

#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace {

// Starts one helper on `pfad` per list of results into `programme` and lets
// them all go at one moment once each is ready; false when one did not get ready.
bool loslassen(const QString& pfad, const QList<QStringList>& ergebnisse, std::list<QProcess>& programme) {
    for (const QStringList& eigene : ergebnisse) {
        programme.emplace_back().setProcessChannelMode(QProcess::ForwardedErrorChannel);
        programme.back().start(QStringLiteral(EINTRAGEN_HELFER), QStringList{pfad} + eigene);
    }
    const bool bereit = std::all_of(programme.begin(), programme.end(), [](QProcess& p) { return p.waitForReadyRead(30000); });
    for (QProcess& programm : programme) programm.closeWriteChannel();
    return bereit;
}

// The list of one-Runde games as "Name:Punkte".
QStringList liste(const QString& pfad) {
    wk::QtEinstellungen speicher(pfad);
    FakeMeldung meldung;
    const wk::HighscoreAnzeige anzeige = wk::Highscore(speicher, meldung).highscore_anzeigen(1, false);
    QStringList liste;
    for (int i = 0; i < wk::ListenLaenge; ++i) liste << QString::fromStdString(anzeige.namen[i] + ":" + anzeige.punkte[i]);
    return liste;
}

} // namespace

class TstGleichzeitigEintragen : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> m_ordner;
    QString pfad() const { return m_ordner->filePath(QStringLiteral("Wurfkrone.conf")); }

private slots:
    // In memory where there is one: the tests are about the lock, and
    // flushing every save to a disk would only make them slow.
    void init() { m_ordner.emplace(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/wurfkrone-XXXXXX") : QDir::tempPath() + QStringLiteral("/wurfkrone-XXXXXX")); }

    // Every program enters 15 results, one game each, the best first, all let
    // go at one moment: the list holds the best 20 of all.
    void programmeZugleichVerlierenKeinErgebnis_data() {
        QTest::addColumn<int>("programme");
        QTest::newRow("8 programs") << 8;
        QTest::newRow("16 programs") << 16;
    }
    void programmeZugleichVerlierenKeinErgebnis() {
        QFETCH(int, programme);
        QList<QStringList> ergebnisse(programme);  // "Name=Punkte": game i of all is program i % programme's
        QStringList besteZuerst;
        for (int i = 0; i < programme * 15; ++i) ergebnisse[i % programme] << QStringLiteral("P%1=%2").arg(i).arg(1500 - i);
        for (int i = 0; i < wk::ListenLaenge; ++i) besteZuerst << QStringLiteral("P%1:%2").arg(i).arg(1500 - i);
        std::list<QProcess> laufend;
        QVERIFY(loslassen(pfad(), ergebnisse, laufend));
        // Each ends by itself with 0 (-1: still running, or crashed).
        for (QProcess& p : laufend) QCOMPARE(p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, 0);
        QCOMPARE(liste(pfad()), besteZuerst);
    }

    // A program saving 400 games one after the other is killed after 10, 20,
    // ... 50 ms: the file holds the list of some number of whole games, and
    // the next save takes over the lock at once and leaves nothing else.
    void getoetetesProgrammHinterlaesstGanzeDateiUndKeineReste() {
        QStringList ergebnisse;
        for (int punkte = 1; punkte <= 400; ++punkte) ergebnisse << QStringLiteral("K=%1").arg(punkte);
        for (int ms = 10; ms <= 50; ms += 10) {
            std::list<QProcess> programm;
            QVERIFY(loslassen(pfad(), {ergebnisse}, programm));
            QTest::qSleep(ms);
            programm.front().kill();
            QVERIFY(programm.front().waitForFinished(30000));
            QStringList ganz;  // the list after the last game saved, of `hoechste` points
            const int hoechste = liste(pfad()).front().section(':', 1).toInt();
            for (int platz = 0; platz < wk::ListenLaenge; ++platz) ganz << (hoechste - platz > 0 ? QStringLiteral("K:%1").arg(hoechste - platz) : "0:0");
            QCOMPARE(liste(pfad()), ganz);
            wk::QtEinstellungen speicher(pfad(), std::chrono::seconds(1));
            speicher.schreiben("Highscore1", "1", "1000");
            QCOMPARE(speicher.lesen("Highscore1", {"1"}, "").front(), "1000");
            QCOMPARE(QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Wurfkrone.conf"});
            QVERIFY(QFile::remove(pfad()));  // the next try starts without a store
        }
    }
};

QTEST_GUILESS_MAIN(TstGleichzeitigEintragen)
#include "tst_gleichzeitigeintragen.moc"
