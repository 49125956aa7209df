// Several programs entering results into one highscore file at the same
// moment: the lock of the settings store must let every transaction see the
// one before, so that no result is lost.

#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <numeric>
#include <random>

#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

class TstGleichzeitigEintragen : public QObject {
    Q_OBJECT

private slots:
    void vierProgrammeZugleichVerlierenKeinErgebnis_data() {
        QTest::addColumn<unsigned>("saat");
        for (unsigned runde = 1; runde <= 5; ++runde) QTest::addRow("round %u", runde) << runde;
    }
    void vierProgrammeZugleichVerlierenKeinErgebnis() {
        QFETCH(unsigned, saat);
        const QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone.conf"));
        // 32 distinct results in a shuffled order; result k goes to program k % 4.
        std::vector<int> punkte(32);
        std::iota(punkte.begin(), punkte.end(), 1);
        std::shuffle(punkte.begin(), punkte.end(), std::mt19937(saat));
        std::array<QStringList, 4> ergebnisse;
        QMap<int, QString> besteZuerst;
        for (int k = 0; k < 32; ++k) {
            const QString name = QStringLiteral("P%1-%2").arg(k % 4).arg(k / 4);
            ergebnisse[k % 4] << name + '=' + QString::number(punkte[k]);
            besteZuerst[-punkte[k]] = name + ':' + QString::number(punkte[k]);
        }

        std::vector<std::unique_ptr<QProcess>> programme;
        for (const QStringList& eigene : ergebnisse) {
            QProcess& programm = *programme.emplace_back(std::make_unique<QProcess>());
            programm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            programm.start(QStringLiteral(EINTRAGEN_HELFER), QStringList{pfad} + eigene);
        }
        for (auto& programm : programme) QCOMPARE(programm->waitForReadyRead(30000) ? programm->readLine() : QByteArray(), QByteArray("bereit\n"));
        for (auto& programm : programme) programm->closeWriteChannel();  // let go
        for (auto& programm : programme) {
            QVERIFY(programm->waitForFinished(120000));
            QCOMPARE(programm->exitStatus() == QProcess::NormalExit ? programm->exitCode() : -1, 0);
        }

        wk::QtEinstellungen speicher(pfad);
        FakeMeldung meldung;
        const wk::HighscoreAnzeige anzeige = wk::Highscore(speicher, meldung).highscore_anzeigen(1, false);
        QStringList gespeichert;
        for (int i = 0; i < wk::ListenLaenge; ++i) gespeichert << QString::fromStdString(anzeige.namen[i] + ":" + anzeige.punkte[i]);
        QCOMPARE(gespeichert, besteZuerst.values().mid(0, wk::ListenLaenge));
    }
};

QTEST_GUILESS_MAIN(TstGleichzeitigEintragen)
#include "tst_gleichzeitigeintragen.moc"
