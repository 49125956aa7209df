#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "platform/qteinstellungen.h"

using wk::ListenLaenge;

namespace {

constexpr std::size_t SchluesselJeListe = 2 * ListenLaenge;

QString q(const std::string& text) { return QString::fromStdString(text); }

// Twenty places as "Name:Punkte": the given ones first, then `rest`.
QStringList plaetze(QStringList anfang, const QString& rest = QStringLiteral("0:0")) {
    while (anfang.size() < ListenLaenge) {
        anfang << rest;
    }
    return anfang;
}

// Places 1..18 hold 500 points, place 19 holds 120 and place 20 holds 100.
QStringList volleListe() {
    QStringList liste;
    for (int platz = 1; platz <= 18; ++platz) {
        liste << QStringLiteral("P%1:500").arg(platz);
    }
    return liste << QStringLiteral("Vorletzter:120") << QStringLiteral("Letzter:100");
}

void vorbelegen(FakeEinstellungen& speicher, const QStringList& liste) {
    for (int platz = 1; platz <= liste.size(); ++platz) {
        const QStringList teile = liste[platz - 1].split(QLatin1Char(':'));
        speicher.vorbelegen("Highscore1", std::to_string(platz), teile[1].toStdString());
        speicher.vorbelegen("Highscore1", "Name" + std::to_string(platz), teile[0].toStdString());
    }
}

QStringList gespeichert(const FakeEinstellungen& speicher) {
    QStringList liste;
    for (int platz = 1; platz <= ListenLaenge; ++platz) {
        const std::string nummer = std::to_string(platz);
        liste << q(speicher.lesen("Highscore1", "Name" + nummer, "?") + ":" +
                   speicher.lesen("Highscore1", nummer, "?"));
    }
    return liste;
}

wk::Spielstand spiel(int runden, const QStringList& namen, const QList<double>& punkte) {
    wk::Spielstand stand;
    stand.Runden = runden;
    stand.spielerAnlegen(static_cast<int>(namen.size()));
    for (int p = 1; p <= namen.size(); ++p) {
        stand.Namen[p] = namen[p - 1].toStdString();
        stand.Gesamtpunkte[p] = punkte[p - 1];
    }
    return stand;
}

// The key written at position `i` of one full write-back of a list.
QString schluesselAn(std::size_t i) {
    const QString nummer = QString::number(i / 2 + 1);
    return i % 2 == 0 ? nummer : QStringLiteral("Name") + nummer;
}

} // namespace

class TstHighscore : public QObject {
    Q_OBJECT

private slots:
    void einfuegePlatz_ersterPlatzMitWenigerPunkten_data() {
        QTest::addColumn<QList<double>>("liste");
        QTest::addColumn<double>("ergebnis");
        QTest::addColumn<int>("platz");
        const QList<double> nullen(ListenLaenge, 0.0);
        QList<double> stufen(18, 500.0);
        stufen << 120.0 << 100.0;

        QTest::newRow("0 nicht in eine Liste aus Nullen") << nullen << 0.0 << 0;
        QTest::newRow("1 wird Erster einer Liste aus Nullen") << nullen << 1.0 << 1;
        QTest::newRow("gleich Platz 20 bleibt draussen") << stufen << 100.0 << 0;
        QTest::newRow("einer mehr als Platz 20 wird 20.") << stufen << 101.0 << 20;
        QTest::newRow("gleich Platz 19 geht darunter") << stufen << 120.0 << 20;
        QTest::newRow("gleich den Ersten geht unter alle") << stufen << 500.0 << 19;
        QTest::newRow("keine Zahl kommt nicht hinein") << nullen << qQNaN() << 0;
        QTest::newRow("unendlich kommt nicht hinein") << nullen << qInf() << 0;
    }

    void einfuegePlatz_ersterPlatzMitWenigerPunkten() {
        QFETCH(QList<double>, liste);
        QFETCH(double, ergebnis);
        QFETCH(int, platz);
        wk::Punkteliste punkte{};
        std::copy(liste.begin(), liste.end(), punkte.begin() + 1);

        QCOMPARE(wk::einfuegePlatz(punkte, ergebnis), platz);
    }

    void auswertung_traegtErgebnisseEin_data() {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QList<double>>("punkte");
        QTest::addColumn<QStringList>("nachher");
        QStringList geschlagen = volleListe();
        geschlagen.last() = QStringLiteral("Neu:101");
        QStringList vorletzter = volleListe();
        vorletzter.insert(18, QStringLiteral("Neu:130"));
        vorletzter.removeLast();

        QTest::newRow("frischer Speicher: Erster, Rest bleibt 0")
            << QStringList{} << QStringList{"Anna"} << QList<double>{245} << plaetze({"Anna:245"});
        QTest::newRow("gleiche Summe: Spieler 1 vor Spieler 2")
            << QStringList{} << QStringList{"Anna", "Bernd"} << QList<double>{150, 150}
            << plaetze({"Anna:150", "Bernd:150"});
        QTest::newRow("gleich einem gespeicherten: darunter")
            << plaetze({"Alt:150"}) << QStringList{"Neu"} << QList<double>{150}
            << plaetze({"Alt:150", "Neu:150"});
        QTest::newRow("gleich Platz 20: bleibt draussen")
            << volleListe() << QStringList{"Neu"} << QList<double>{100} << volleListe();
        QTest::newRow("Platz 20 um einen geschlagen: alter 20. fällt weg")
            << volleListe() << QStringList{"Neu"} << QList<double>{101} << geschlagen;
        QTest::newRow("neuer 19.: alter 19. wird 20., alter 20. fällt weg")
            << volleListe() << QStringList{"Neu"} << QList<double>{130} << vorletzter;
        QTest::newRow("nach dem Löschen: 1 Punkt wird Erster")
            << plaetze({}, "..:0") << QStringList{"Eva"} << QList<double>{1}
            << plaetze({"Eva:1"}, "..:0");
        QTest::newRow("0 Punkte nicht in eine Liste aus Nullen")
            << QStringList{} << QStringList{"Null"} << QList<double>{0} << plaetze({});
        QTest::newRow("Namen ohne Leerraum an den Enden gespeichert")
            << plaetze({" Alt :300"}) << QStringList{"\t Anna Maria  "} << QList<double>{245}
            << plaetze({"Alt:300", "Anna Maria:245"});
        QTest::newRow("leerer Name bleibt leer")
            << QStringList{} << QStringList{""} << QList<double>{12} << plaetze({":12"});
        QTest::newRow("Punkte vom Anfang des Texts gelesen")
            << plaetze({"Alt:50 Punkte", "Zwei:.."}) << QStringList{"Neu"} << QList<double>{30}
            << plaetze({"Alt:50", "Neu:30", "Zwei:0"});
        QTest::newRow("Spieler in ihrer Reihenfolge eingereiht")
            << QStringList{} << QStringList{"A", "B", "C"} << QList<double>{10, 30, 20}
            << plaetze({"B:30", "C:20", "A:10"});
        QTest::newRow("Punkte als ganze Zahl gespeichert")
            << QStringList{} << QStringList{"Anna"} << QList<double>{245.4} << plaetze({"Anna:245"});
    }

    void auswertung_traegtErgebnisseEin() {
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, namen);
        QFETCH(QList<double>, punkte);
        QFETCH(QStringList, nachher);
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        vorbelegen(speicher, vorher);
        wk::Highscore highscore(speicher, meldung);

        highscore.Auswertung(spiel(1, namen, punkte));

        QCOMPARE(gespeichert(speicher), nachher);
        QVERIFY(meldung.texte.empty());
    }

    void auswertung_schreibtNachJedemSpielerAllePlaetzeInOrdnung() {
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);

        highscore.Auswertung(spiel(1, {"Anna", "Bernd"}, {245, 100}));

        QCOMPARE(speicher.transaktionen(), 1);
        QCOMPARE(speicher.zugriffeOhneTransaktion(), 0);
        const auto& protokoll = speicher.protokoll();
        QCOMPARE(protokoll.size(), 2 * SchluesselJeListe);
        for (std::size_t i = 0; i < protokoll.size(); ++i) {
            QCOMPARE(q(protokoll[i].abschnitt), QStringLiteral("Highscore1"));
            QCOMPARE(q(protokoll[i].schluessel), schluesselAn(i % SchluesselJeListe));
        }
        // After player 1 place 2 is still empty; after player 2 it is his.
        QCOMPARE(q(protokoll[3].wert), QStringLiteral("0"));
        QCOMPARE(q(protokoll[SchluesselJeListe + 2].wert), QStringLiteral("100"));
        QCOMPARE(q(protokoll[SchluesselJeListe + 3].wert), QStringLiteral("Bernd"));
    }

    void auswertung_schreibtNurDieListeDerSpiellaenge_data() {
        QTest::addColumn<int>("runden");
        QTest::addColumn<QString>("abschnitt");
        QTest::newRow("1 Runde") << 1 << "Highscore1";
        QTest::newRow("5 Runden") << 5 << "Highscore5";
        QTest::newRow("10 Runden") << 10 << "Highscore10";
        QTest::newRow("25 Runden") << 25 << "Highscore25";
    }

    void auswertung_schreibtNurDieListeDerSpiellaenge() {
        QFETCH(int, runden);
        QFETCH(QString, abschnitt);
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);

        highscore.Auswertung(spiel(runden, {"Anna"}, {245}));

        QSet<QString> abschnitte;
        for (const auto& vorgang : speicher.protokoll()) {
            abschnitte.insert(q(vorgang.abschnitt));
        }
        QCOMPARE(abschnitte, QSet<QString>{abschnitt});
    }

    void auswertung_ergibtDieseDatei() {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone/Wurfkrone.conf"));
        wk::QtEinstellungen speicher(pfad);
        FakeMeldung meldung;
        wk::Highscore highscore(speicher, meldung);

        highscore.Auswertung(spiel(1, {"Anna", "Bernd"}, {245, 100}));

        QFile datei(pfad);
        QVERIFY(datei.open(QIODevice::ReadOnly | QIODevice::Text));
        QStringList abschnitte;
        QMap<QString, QString> eintraege;
        for (const QString& zeile : QString::fromUtf8(datei.readAll()).split(QLatin1Char('\n'))) {
            if (zeile.startsWith(QLatin1Char('['))) {
                abschnitte << zeile;
            } else if (const auto gleich = zeile.indexOf(QLatin1Char('=')); gleich > 0) {
                eintraege.insert(zeile.left(gleich), zeile.mid(gleich + 1));
            }
        }
        QMap<QString, QString> erwartet{{"1", "245"}, {"Name1", "Anna"}, {"2", "100"}, {"Name2", "Bernd"}};
        for (int platz = 3; platz <= ListenLaenge; ++platz) {
            erwartet.insert(QString::number(platz), QStringLiteral("0"));
            erwartet.insert(QStringLiteral("Name%1").arg(platz), QStringLiteral("0"));
        }
        QCOMPARE(abschnitte, QStringList{"[Highscore1]"});
        QCOMPARE(eintraege, erwartet);
    }

    void anzeigen_zeigtListeMitPunkteNurBeimLaden_data() {
        QTest::addColumn<int>("laenge");
        QTest::addColumn<bool>("beimLaden");
        QTest::addColumn<QString>("titel");
        QTest::addColumn<QString>("ersterPunkte");
        QTest::addColumn<QString>("letzterPunkte");
        QTest::newRow("Liste 1 beim Laden")
            << 1 << true << "Highscore bei 1 Rundenspiel." << "245 Punkte" << "0 Punkte";
        QTest::newRow("Liste 1 über die Schaltfläche")
            << 1 << false << "Highscore bei 1 Rundenspiel." << "245" << "0";
        QTest::newRow("Liste 5") << 5 << false << "Highscore bei 5 Rundenspiel." << "245" << "0";
        QTest::newRow("Liste 10") << 10 << false << "Highscore bei 10 Rundenspiel." << "245" << "0";
        QTest::newRow("Liste 25") << 25 << false << "Highscore bei 25 Rundenspiel." << "245" << "0";
    }

    void anzeigen_zeigtListeMitPunkteNurBeimLaden() {
        QFETCH(int, laenge);
        QFETCH(bool, beimLaden);
        QFETCH(QString, titel);
        QFETCH(QString, ersterPunkte);
        QFETCH(QString, letzterPunkte);
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        speicher.vorbelegen("Highscore" + std::to_string(laenge), "1", "245");
        speicher.vorbelegen("Highscore" + std::to_string(laenge), "Name1", " Anna ");
        wk::Highscore highscore(speicher, meldung);

        const wk::HighscoreAnzeige anzeige = highscore.highscore_anzeigen(laenge, beimLaden);

        QCOMPARE(q(anzeige.titel), titel);
        QCOMPARE(q(anzeige.punkte.front()), ersterPunkte);
        QCOMPARE(q(anzeige.punkte.back()), letzterPunkte);
        QCOMPARE(q(anzeige.namen.front()), QStringLiteral(" Anna "));
        QCOMPARE(q(anzeige.namen.back()), QStringLiteral("0"));
        QCOMPARE(q(highscore.BestenNamen()[1]), QStringLiteral(" Anna "));
        QCOMPARE(highscore.BestenPunkte()[1], 245.0);
        QVERIFY(speicher.protokoll().empty());
        QCOMPARE(speicher.zugriffeOhneTransaktion(), 0);
    }

    void loeschen_meldetZuerstUndSetztAlleVierListenZurueck() {
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        vorbelegen(speicher, {"Anna:245"});
        speicher.vorbelegen("Fenster", "Links", "120");
        wk::Highscore highscore(speicher, meldung);
        highscore.highscore_anzeigen(1, false);
        std::size_t schreibvorgaengeBeimHinweis = 99;
        meldung.waehrendOffen = [&] { schreibvorgaengeBeimHinweis = speicher.protokoll().size(); };

        highscore.highscore_loeschen();

        QCOMPARE(meldung.texte.size(), std::size_t{1});
        QCOMPARE(q(meldung.texte.front()), QStringLiteral(" Highscore wird gelöscht."));
        QCOMPARE(schreibvorgaengeBeimHinweis, std::size_t{0});
        const QStringList abschnitte{"Highscore1", "Highscore5", "Highscore10", "Highscore25"};
        const auto& protokoll = speicher.protokoll();
        QCOMPARE(protokoll.size(), 4 * SchluesselJeListe);
        for (std::size_t i = 0; i < protokoll.size(); ++i) {
            QCOMPARE(q(protokoll[i].abschnitt), abschnitte[i / SchluesselJeListe]);
            QCOMPARE(q(protokoll[i].schluessel), schluesselAn(i % SchluesselJeListe));
            QCOMPARE(q(protokoll[i].wert), QString::fromUtf8(i % 2 == 0 ? "0" : ".."));
        }
        QCOMPARE(speicher.zugriffeOhneTransaktion(), 0);
        QCOMPARE(q(speicher.lesen("Fenster", "Links", "?")), QStringLiteral("120"));
        QCOMPARE(q(highscore.BestenNamen()[1]), QStringLiteral("Anna"));
        QCOMPARE(highscore.BestenPunkte()[1], 245.0);
    }
};

QTEST_GUILESS_MAIN(TstHighscore)
#include "tst_highscore.moc"
