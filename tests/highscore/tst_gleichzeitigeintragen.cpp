// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Several programs entering results into one highscore file at the same
// moment, and programs killed while they save: the lock of the settings store
// must let every transaction see the one before, so that no result is lost,
// and a killed program leaves a whole file and nothing that outlives the next
// save.

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <memory>
#include <numeric>
#include <random>

#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace {

// A folder in memory where there is one: the test is about the lock, and
// flushing every save to a disk would only make it slow.
QString ordnerVorlage() {
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/wurfkrone-XXXXXX") : QDir::tempPath() + QStringLiteral("/wurfkrone-XXXXXX");
}

// Starts the helper on `pfad` with these results; it saves once its
// standard input is closed.
std::unique_ptr<QProcess> helferStarten(const QString& pfad, const QStringList& ergebnisse) {
    auto programm = std::make_unique<QProcess>();
    programm->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    programm->start(QStringLiteral(EINTRAGEN_HELFER), QStringList{pfad} + ergebnisse);
    return programm;
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

private slots:
    // Every program enters 15 results, one game each, the best first, all let
    // go at one moment: the list holds the best 20 of all.
    void programmeZugleichVerlierenKeinErgebnis_data() {
        QTest::addColumn<int>("programme");
        QTest::newRow("8 programs") << 8;
        QTest::newRow("16 programs") << 16;
    }
    void programmeZugleichVerlierenKeinErgebnis() {
        QFETCH(int, programme);
        constexpr int Runden = 15;
        const QTemporaryDir ordner(ordnerVorlage());
        const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone.conf"));
        QMap<int, QString> besteZuerst;
        std::vector<std::unique_ptr<QProcess>> laufend;
        for (int k = 0; k < programme; ++k) {
            QStringList eigene;
            for (int runde = 0; runde < Runden; ++runde) {
                const int punkte = (Runden - runde) * 100 + k;
                eigene << QStringLiteral("P%1-%2=%3").arg(k).arg(runde).arg(punkte);
                besteZuerst[-punkte] = QStringLiteral("P%1-%2:%3").arg(k).arg(runde).arg(punkte);
            }
            laufend.push_back(helferStarten(pfad, eigene));
        }
        for (auto& programm : laufend) QCOMPARE(programm->waitForReadyRead(30000) ? programm->readLine() : QByteArray(), QByteArray("bereit\n"));
        for (auto& programm : laufend) programm->closeWriteChannel();  // let go
        for (auto& programm : laufend) {
            QVERIFY(programm->waitForFinished(120000));
            QCOMPARE(programm->exitStatus() == QProcess::NormalExit ? programm->exitCode() : -1, 0);
        }
        QCOMPARE(liste(pfad), besteZuerst.values().mid(0, wk::ListenLaenge));
    }

    // A program saving 400 games one after the other is killed at a random
    // moment, five times: the file holds the list of some number of whole
    // games, and the next save takes over at once and leaves nothing else.
    void getoetetesProgrammHinterlaesstGanzeDateiUndKeineReste() {
        for (int versuch = 0; versuch < 5; ++versuch) {
            const QTemporaryDir ordner(ordnerVorlage());
            const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone.conf"));
            QStringList ergebnisse;
            for (int punkte = 1; punkte <= 400; ++punkte) ergebnisse << QStringLiteral("K=%1").arg(punkte);
            const auto programm = helferStarten(pfad, ergebnisse);
            QVERIFY(programm->waitForReadyRead(30000));
            programm->closeWriteChannel();
            QThread::msleep(10 + QRandomGenerator::global()->bounded(40));
            programm->kill();
            QVERIFY(programm->waitForFinished(30000));
            const QStringList vorher = liste(pfad);
            const int hoechste = vorher.front().section(':', 1).toInt();
            QStringList ganz;
            for (int platz = 0; platz < wk::ListenLaenge; ++platz) ganz << (hoechste - platz > 0 ? QStringLiteral("K:%1").arg(hoechste - platz) : "0:0");
            QCOMPARE(vorher, ganz);
            wk::QtEinstellungen speicher(pfad, std::chrono::seconds(1));
            FakeMeldung meldung;
            wk::Spielstand stand;
            stand.spielerAnlegen(1);
            stand.Namen[1] = "Neu";
            stand.Gesamtpunkte[1] = 1000;
            wk::Highscore(speicher, meldung).Auswertung(stand);
            QCOMPARE(liste(pfad).front(), QStringLiteral("Neu:1000"));
            QCOMPARE(QDir(ordner.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"Wurfkrone.conf"});
        }
    }
};

QTEST_GUILESS_MAIN(TstGleichzeitigEintragen)
#include "tst_gleichzeitigeintragen.moc"
