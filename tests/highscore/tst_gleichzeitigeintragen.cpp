// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Several programs entering results into one highscore file at the same
// moment, and programs killed while they save: the lock of the settings store
// must let every save see the one before, so that no result is lost; a
// killed program leaves a whole file, and what it had put into its journal
// is entered at the next start, once, leaving nothing else behind.

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

// The sanitizers make every save about ten times slower: fewer games each,
// and the kills later.
#ifdef WK_SANITIZE
constexpr int SpieleJeProgramm = 6, Langsamer = 5;
#else
constexpr int SpieleJeProgramm = 15, Langsamer = 1;
#endif

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

    // Every program enters 15 results (6 under the sanitizers), one game
    // each, the best first, all let go at one moment: the list holds the
    // best 20 of all.
    void programmeZugleichVerlierenKeinErgebnis_data() {
        QTest::addColumn<int>("programme");
        QTest::addColumn<bool>("ordnerAlsSperre");  // a directory in place of the lock file
        QTest::newRow("8 programs") << 8 << false;
        QTest::newRow("16 programs") << 16 << false;
        QTest::newRow("8 programs, a directory in place of the lock") << 8 << true;
    }
    void programmeZugleichVerlierenKeinErgebnis() {
        QFETCH(int, programme);
        QFETCH(bool, ordnerAlsSperre);
        QVERIFY(!ordnerAlsSperre || QDir().mkdir(pfad() + QStringLiteral(".sperre")));
        QList<QStringList> ergebnisse(programme);  // "Name=Punkte": game i of all is program i % programme's
        QStringList besteZuerst;
        for (int i = 0; i < programme * SpieleJeProgramm; ++i) ergebnisse[i % programme] << QStringLiteral("P%1=%2").arg(i).arg(1500 - i);
        for (int i = 0; i < wk::ListenLaenge; ++i) besteZuerst << QStringLiteral("P%1:%2").arg(i).arg(1500 - i);
        std::list<QProcess> laufend;
        QVERIFY(loslassen(pfad(), ergebnisse, laufend));
        // Each ends by itself with 0 (-1: still running, or crashed).
        for (QProcess& p : laufend) QCOMPARE(p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, 0);
        QCOMPARE(liste(pfad()), besteZuerst);
        QCOMPARE(QDir(m_ordner->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"Wurfkrone.conf"} << (ordnerAlsSperre ? QStringList{"Wurfkrone.conf.sperre"} : QStringList{}));
    }

    // A program saving 400 games one after the other is killed after 10, 20,
    // ... 50 ms: the file holds the list of some number of whole games. The
    // next start enters what the killed program's journal held (a game saved
    // already, too, when the kill came between the save and the journal's
    // removal): every game once, none lost, nothing else left.
    void getoetetesProgrammHinterlaesstGanzeDateiUndKeineReste() {
        QStringList ergebnisse;
        for (int punkte = 1; punkte <= 400; ++punkte) ergebnisse << QStringLiteral("K=%1").arg(punkte);
        const auto ganz = [](int hoechste) {  // the list after the games 1..hoechste
            QStringList liste;
            for (int platz = 0; platz < wk::ListenLaenge; ++platz) liste << (hoechste - platz > 0 ? QStringLiteral("K:%1").arg(hoechste - platz) : "0:0");
            return liste;
        };
        for (int ms = 10; ms <= 50; ms += 10) {
            std::list<QProcess> programm;
            QVERIFY(loslassen(pfad(), {ergebnisse}, programm));
            QTest::qSleep(ms * Langsamer);
            programm.front().kill();
            QVERIFY(programm.front().waitForFinished(30000));
            const int gespeichert = liste(pfad()).front().section(':', 1).toInt();
            QCOMPARE(liste(pfad()), ganz(gespeichert));
            int vorgemerkt = gespeichert;  // the best game in a journal
            const QDir ordner(m_ordner->path());
            for (const QString& name : ordner.entryList({"*.offen-*"}, QDir::Files | QDir::Hidden)) {
                if (name.endsWith(QStringLiteral(".neu"))) continue;  // a journal's draft: its games were not safe yet
                QFile journal(ordner.filePath(name));
                QVERIFY(journal.open(QIODevice::ReadOnly));
                for (const QByteArray& zeile : journal.readAll().split('\n')) vorgemerkt = std::max(vorgemerkt, zeile.split(' ').value(3).toInt());
            }
            {
                wk::QtEinstellungen naechsterStart(pfad());
                naechsterStart.nachtragen();
                QVERIFY(naechsterStart.warten(std::chrono::seconds(30)));
            }
            QCOMPARE(liste(pfad()), ganz(vorgemerkt));
            QCOMPARE(ordner.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), vorgemerkt > 0 ? QStringList{"Wurfkrone.conf"} : QStringList{});
            QFile::remove(pfad());  // the next try starts without a store
        }
    }
};

QTEST_GUILESS_MAIN(TstGleichzeitigEintragen)
#include "tst_gleichzeitigeintragen.moc"
