// Several programs entering results into one highscore file at the same
// moment: the lock of the settings store must let every transaction see the
// one before, so that no result is lost.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

namespace {

constexpr int Programme = 4;
constexpr int ErgebnisseJeProgramm = 8;

struct Ergebnis {
    QString name;
    int punkte = 0;
};

// Programme * ErgebnisseJeProgramm distinct results, shuffled by `saat`;
// result k goes to program k % Programme.
std::vector<Ergebnis> ergebnisse(unsigned saat) {
    std::vector<int> punkte(Programme * ErgebnisseJeProgramm);
    std::iota(punkte.begin(), punkte.end(), 1);
    std::shuffle(punkte.begin(), punkte.end(), std::mt19937(saat));
    std::vector<Ergebnis> alle;
    for (std::size_t k = 0; k < punkte.size(); ++k) {
        alle.push_back({QStringLiteral("P%1-%2").arg(k % Programme).arg(k / Programme), punkte[k] * 7});
    }
    return alle;
}

// The best ListenLaenge results as "Name:Punkte", best first. The points are
// distinct, so the order does not depend on who entered first.
QStringList besteZwanzig(std::vector<Ergebnis> alle) {
    std::stable_sort(alle.begin(), alle.end(),
                     [](const Ergebnis& a, const Ergebnis& b) { return a.punkte > b.punkte; });
    QStringList liste;
    for (int platz = 0; platz < wk::ListenLaenge; ++platz) {
        liste << alle[platz].name + QLatin1Char(':') + QString::number(alle[platz].punkte);
    }
    return liste;
}

QStringList gespeichert(const QString& pfad) {
    wk::QtEinstellungen speicher(pfad);
    FakeMeldung meldung;
    wk::Highscore highscore(speicher, meldung);
    const wk::HighscoreAnzeige anzeige = highscore.highscore_anzeigen(1, false);
    QStringList liste;
    for (int i = 0; i < wk::ListenLaenge; ++i) {
        liste << QString::fromStdString(anzeige.namen[i] + ":" + anzeige.punkte[i]);
    }
    return liste;
}

} // namespace

class TstGleichzeitigEintragen : public QObject {
    Q_OBJECT

private slots:
    void vierProgrammeZugleich_verlierenKeinErgebnis_data() {
        QTest::addColumn<unsigned>("saat");
        for (unsigned runde = 1; runde <= 5; ++runde) {
            QTest::addRow("Runde %u", runde) << runde;
        }
    }

    void vierProgrammeZugleich_verlierenKeinErgebnis() {
        QFETCH(unsigned, saat);
        const QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone.conf"));
        const QString startdatei = ordner.filePath(QStringLiteral("los"));
        const std::vector<Ergebnis> alle = ergebnisse(saat);

        std::vector<std::unique_ptr<QProcess>> programme;
        for (int p = 0; p < Programme; ++p) {
            QStringList argumente{pfad, QStringLiteral("1"), QStringLiteral("--start"), startdatei};
            for (std::size_t k = p; k < alle.size(); k += Programme) {
                argumente << alle[k].name + QLatin1Char('=') + QString::number(alle[k].punkte);
            }
            auto& programm = programme.emplace_back(std::make_unique<QProcess>());
            programm->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            programm->start(QStringLiteral(EINTRAGEN_HELFER), argumente);
        }
        for (auto& programm : programme) {
            QVERIFY(programm->waitForReadyRead(30000));
            QCOMPARE(programm->readLine().trimmed(), QByteArray("bereit"));
        }
        QFile los(startdatei);
        QVERIFY(los.open(QIODevice::WriteOnly));
        los.close();
        for (auto& programm : programme) {
            QVERIFY(programm->waitForFinished(120000));
            QCOMPARE(programm->exitStatus(), QProcess::NormalExit);
            QCOMPARE(programm->exitCode(), 0);
        }

        QCOMPARE(gespeichert(pfad), besteZwanzig(alle));
    }
};

QTEST_GUILESS_MAIN(TstGleichzeitigEintragen)
#include "tst_gleichzeitigeintragen.moc"
