#include <QtTest>

#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "speicherhilfen.h"

namespace {

// Places 1..18 hold 500 points, place 19 holds 120 and place 20 holds 100.
QStringList volleListe() {
    QStringList liste;
    for (int platz = 1; platz <= 18; ++platz) liste << QStringLiteral("P%1:500").arg(platz);
    return liste << QStringLiteral("Vorletzter:120") << QStringLiteral("Letzter:100");
}

// The writes that store `liste` ("Name:Punkte" per place) as section
// `abschnitt`: points key before name key, places rising.
QStringList rueckschrieb(const QString& abschnitt, const QStringList& liste) {
    QStringList vorgaenge;
    for (int platz = 1; platz <= liste.size(); ++platz) {
        vorgaenge << QStringLiteral("%1/%2=%3").arg(abschnitt).arg(platz).arg(liste[platz - 1].section(':', 1))
                  << QStringLiteral("%1/Name%2=%3").arg(abschnitt).arg(platz).arg(liste[platz - 1].section(':', 0, 0));
    }
    return vorgaenge;
}

QStringList protokoll(const FakeEinstellungen& speicher, std::size_t ab = 0) {
    QStringList vorgaenge;
    for (std::size_t i = ab; i < speicher.protokoll.size(); ++i) vorgaenge << q(speicher.protokoll[i]);
    return vorgaenge;
}

} // namespace

class TstHighscore : public QObject {
    Q_OBJECT

private slots:
    void auswertungReihtJedenSpielerEin_data() {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QList<double>>("punkte");
        QTest::addColumn<QStringList>("nachher");
        QStringList geschlagen = volleListe();
        geschlagen.last() = QStringLiteral("Neu:101");
        QStringList vorletzter = volleListe();
        vorletzter.insert(18, QStringLiteral("Neu:130"));
        vorletzter.removeLast();
        const QList<double> neu{245};

        QTest::newRow("fresh store: first place, the rest stays 0")
            << QStringList{} << QStringList{"Anna"} << neu << plaetze({"Anna:245"});
        QTest::newRow("equal totals: player 1 above player 2")
            << QStringList{} << QStringList{"Anna", "Bernd"} << QList<double>{150, 150} << plaetze({"Anna:150", "Bernd:150"});
        QTest::newRow("equal to a stored result: below it")
            << plaetze({"Alt:245"}) << QStringList{"Neu"} << neu << plaetze({"Alt:245", "Neu:245"});
        QTest::newRow("equal to place 20: stays out") << volleListe() << QStringList{"Neu"} << QList<double>{100} << volleListe();
        QTest::newRow("beats place 20 by one: old 20th drops out")
            << volleListe() << QStringList{"Neu"} << QList<double>{101} << geschlagen;
        QTest::newRow("new 19th: old 19th becomes 20th")
            << volleListe() << QStringList{"Neu"} << QList<double>{130} << vorletzter;
        QTest::newRow("after clearing: 1 point is first")
            << plaetze({}, "..:0") << QStringList{"Eva"} << QList<double>{1} << plaetze({"Eva:1"}, "..:0");
        QTest::newRow("0 points never enter a list of zeros")
            << QStringList{} << QStringList{"Null"} << QList<double>{0} << plaetze({});
        QTest::newRow("no number never enters") << QStringList{} << QStringList{"X"} << QList<double>{qQNaN()} << plaetze({});
        QTest::newRow("infinity never enters") << QStringList{} << QStringList{"X"} << QList<double>{qInf()} << plaetze({});
        QTest::newRow("names stored without blanks at the ends")
            << plaetze({" Alt :300"}) << QStringList{"\t Anna Maria  "} << neu << plaetze({"Alt:300", "Anna Maria:245"});
        QTest::newRow("an empty name stays empty") << QStringList{} << QStringList{""} << neu << plaetze({":245"});
        QTest::newRow("stored points read from the start of the text")
            << plaetze({"Alt:250 Punkte", "Zwei:.."}) << QStringList{"Neu"} << neu << plaetze({"Alt:250", "Neu:245", "Zwei:0"});
        QTest::newRow("players ranked in player order")
            << QStringList{} << QStringList{"A", "B", "C"} << QList<double>{10, 30, 20} << plaetze({"B:30", "C:20", "A:10"});
        QTest::newRow("points stored as a whole number")
            << QStringList{} << QStringList{"Anna"} << QList<double>{245.4} << plaetze({"Anna:245"});
    }
    // After each player all 20 places are written back, in one transaction.
    void auswertungReihtJedenSpielerEin() {
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, namen);
        QFETCH(QList<double>, punkte);
        QFETCH(QStringList, nachher);
        FakeEinstellungen speicher;
        for (const QString& eintrag : rueckschrieb(QStringLiteral("Highscore1"), vorher)) {
            speicher.werte[eintrag.section('=', 0, 0).toStdString()] = eintrag.section('=', 1).toStdString();
        }
        FakeMeldung meldung;

        wk::Highscore(speicher, meldung).Auswertung(spiel(1, namen, punkte));

        QCOMPARE(speicher.protokoll.size(), std::size_t(2 * wk::ListenLaenge * namen.size()));
        QCOMPARE(protokoll(speicher, speicher.protokoll.size() - 2 * wk::ListenLaenge),
                 rueckschrieb(QStringLiteral("Highscore1"), nachher));
        QCOMPARE(speicher.transaktionen, 1);
        QCOMPARE(speicher.zugriffeOhneTransaktion, 0);
        QVERIFY(meldung.texte.empty());
    }

    void loeschenMeldetZuerstUndLeertAlleVierListen() {
        FakeEinstellungen speicher;
        speicher.werte["Highscore1/1"] = "245";
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);
        highscore.highscore_anzeigen(1, false);
        std::size_t geschriebenBeimHinweis = 99;
        meldung.waehrendOffen = [&] { geschriebenBeimHinweis = speicher.protokoll.size(); };

        highscore.highscore_loeschen();

        QCOMPARE(meldung.texte, std::vector<std::string>{" Highscore wird gelöscht."});
        QCOMPARE(geschriebenBeimHinweis, std::size_t{0});
        QStringList geloescht;
        for (const int laenge : {1, 5, 10, 25}) {
            geloescht << rueckschrieb(QStringLiteral("Highscore%1").arg(laenge), plaetze({}, QStringLiteral("..:0")));
        }
        QCOMPARE(protokoll(speicher), geloescht);
        QCOMPARE(speicher.zugriffeOhneTransaktion, 0);
        QCOMPARE(highscore.BestenPunkte()[1], 245.0);  // the list in memory stays as it was
    }
};

QTEST_GUILESS_MAIN(TstHighscore)
#include "tst_highscore.moc"
