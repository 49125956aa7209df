#include <QtTest>

#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "highscore/highscore.h"
#include "speicherhilfen.h"

using wk::ListenLaenge;

namespace {

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

// "Abschnitt/Schlüssel=Wert" for every write, in order.
QStringList protokoll(const FakeEinstellungen& speicher) {
    QStringList vorgaenge;
    for (const auto& v : speicher.protokoll()) {
        vorgaenge << q(v.abschnitt + "/" + v.schluessel + "=" + v.wert);
    }
    return vorgaenge;
}

// The writes of one full write-back of `liste`: points key before name key,
// places rising.
QStringList rueckschrieb(const QString& abschnitt, const QStringList& liste) {
    QStringList vorgaenge;
    for (int platz = 1; platz <= liste.size(); ++platz) {
        const QStringList teile = liste[platz - 1].split(QLatin1Char(':'));
        vorgaenge << QStringLiteral("%1/%2=%3").arg(abschnitt).arg(platz).arg(teile[1])
                  << QStringLiteral("%1/Name%2=%3").arg(abschnitt).arg(platz).arg(teile[0]);
    }
    return vorgaenge;
}

} // namespace

class TstHighscore : public QObject {
    Q_OBJECT

private slots:
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
        const auto neu = [](double punkte) { return QList<double>{punkte}; };

        QTest::newRow("frischer Speicher: Erster, Rest bleibt 0")
            << QStringList{} << QStringList{"Anna"} << neu(245) << plaetze({"Anna:245"});
        QTest::newRow("gleiche Summe: Spieler 1 vor Spieler 2")
            << QStringList{} << QStringList{"Anna", "Bernd"} << QList<double>{150, 150}
            << plaetze({"Anna:150", "Bernd:150"});
        QTest::newRow("gleich einem gespeicherten: darunter")
            << plaetze({"Alt:150"}) << QStringList{"Neu"} << neu(150) << plaetze({"Alt:150", "Neu:150"});
        QTest::newRow("gleich Platz 20: bleibt draussen") << volleListe() << QStringList{"Neu"} << neu(100) << volleListe();
        QTest::newRow("Platz 20 um einen geschlagen: alter 20. fällt weg")
            << volleListe() << QStringList{"Neu"} << neu(101) << geschlagen;
        QTest::newRow("neuer 19.: alter 19. wird 20., alter 20. fällt weg")
            << volleListe() << QStringList{"Neu"} << neu(130) << vorletzter;
        QTest::newRow("nach dem Löschen: 1 Punkt wird Erster")
            << plaetze({}, "..:0") << QStringList{"Eva"} << neu(1) << plaetze({"Eva:1"}, "..:0");
        QTest::newRow("0 Punkte nicht in eine Liste aus Nullen") << QStringList{} << QStringList{"Null"} << neu(0) << plaetze({});
        QTest::newRow("keine Zahl kommt nicht hinein") << QStringList{} << QStringList{"X"} << neu(qQNaN()) << plaetze({});
        QTest::newRow("unendlich kommt nicht hinein") << QStringList{} << QStringList{"X"} << neu(qInf()) << plaetze({});
        QTest::newRow("Namen ohne Leerraum an den Enden gespeichert")
            << plaetze({" Alt :300"}) << QStringList{"\t Anna Maria  "} << neu(245)
            << plaetze({"Alt:300", "Anna Maria:245"});
        QTest::newRow("leerer Name bleibt leer") << QStringList{} << QStringList{""} << neu(12) << plaetze({":12"});
        QTest::newRow("Punkte vom Anfang des Texts gelesen")
            << plaetze({"Alt:50 Punkte", "Zwei:.."}) << QStringList{"Neu"} << neu(30)
            << plaetze({"Alt:50", "Neu:30", "Zwei:0"});
        QTest::newRow("Spieler in ihrer Reihenfolge eingereiht")
            << QStringList{} << QStringList{"A", "B", "C"} << QList<double>{10, 30, 20}
            << plaetze({"B:30", "C:20", "A:10"});
        QTest::newRow("Punkte als ganze Zahl gespeichert")
            << QStringList{} << QStringList{"Anna"} << neu(245.4) << plaetze({"Anna:245"});
    }

    void auswertung_traegtErgebnisseEin() {
        QFETCH(QStringList, vorher);
        QFETCH(QStringList, namen);
        QFETCH(QList<double>, punkte);
        QFETCH(QStringList, nachher);
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        vorbelegen(speicher, vorher);

        wk::Highscore(speicher, meldung).Auswertung(spiel(1, namen, punkte));

        QCOMPARE(gespeichert(speicher), nachher);
        QVERIFY(meldung.texte.empty());
    }

    void auswertung_schreibtNachJedemSpielerAllePlaetzeInOrdnung() {
        FakeEinstellungen speicher;
        FakeMeldung meldung;

        wk::Highscore(speicher, meldung).Auswertung(spiel(1, {"Anna", "Bernd"}, {245, 100}));

        QCOMPARE(speicher.transaktionen(), 1);
        QCOMPARE(speicher.zugriffeOhneTransaktion(), 0);
        QCOMPARE(protokoll(speicher), rueckschrieb("Highscore1", plaetze({"Anna:245"})) +
                                          rueckschrieb("Highscore1", plaetze({"Anna:245", "Bernd:100"})));
    }

    void jedeSpiellaenge_schreibtUndZeigtIhreListe_data() {
        QTest::addColumn<int>("laenge");
        QTest::addColumn<bool>("beimLaden");
        QTest::addColumn<QString>("punkte");
        QTest::newRow("1 Runde beim Laden: mit \" Punkte\"") << 1 << true << "245 Punkte";
        QTest::newRow("1 Runde über die Schaltfläche") << 1 << false << "245";
        QTest::newRow("5 Runden") << 5 << false << "245";
        QTest::newRow("10 Runden") << 10 << false << "245";
        QTest::newRow("25 Runden") << 25 << false << "245";
    }

    void jedeSpiellaenge_schreibtUndZeigtIhreListe() {
        QFETCH(int, laenge);
        QFETCH(bool, beimLaden);
        QFETCH(QString, punkte);
        const QString abschnitt = QStringLiteral("Highscore%1").arg(laenge);
        const QString leer = beimLaden ? QStringLiteral("0 Punkte") : QStringLiteral("0");
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        wk::Highscore(speicher, meldung).Auswertung(spiel(laenge, {"Anna"}, {245}));
        QCOMPARE(protokoll(speicher), rueckschrieb(abschnitt, plaetze({"Anna:245"})));
        speicher.vorbelegen(abschnitt.toStdString(), "Name1", " Anna "); // as if typed in by hand
        const std::size_t geschrieben = speicher.protokoll().size();
        wk::Highscore highscore(speicher, meldung);

        const wk::HighscoreAnzeige anzeige = highscore.highscore_anzeigen(laenge, beimLaden);

        QCOMPARE(q(anzeige.titel), QStringLiteral("Highscore bei %1 Rundenspiel.").arg(laenge));
        QCOMPARE(q(anzeige.punkte.front()), punkte);
        QCOMPARE(q(anzeige.punkte.back()), leer);
        QCOMPARE(q(anzeige.namen.front()), QStringLiteral(" Anna "));
        QCOMPARE(q(anzeige.namen.back()), QStringLiteral("0"));
        QCOMPARE(q(highscore.BestenNamen()[1]), QStringLiteral(" Anna "));
        QCOMPARE(highscore.BestenPunkte()[1], 245.0);
        QCOMPARE(speicher.protokoll().size(), geschrieben);
        QCOMPARE(speicher.zugriffeOhneTransaktion(), 0);
    }

    void auswertung_ergibtDieseDatei() {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("Wurfkrone/Wurfkrone.conf"));
        wk::QtEinstellungen speicher(pfad);
        FakeMeldung meldung;

        wk::Highscore(speicher, meldung).Auswertung(spiel(1, {"Anna", "Bernd"}, {245, 100}));

        QStringList zeilen = QString::fromUtf8(inhalt(pfad)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(zeilen.takeFirst(), QStringLiteral("[Highscore1]"));
        QStringList erwartet = rueckschrieb("Highscore1", plaetze({"Anna:245", "Bernd:100"}));
        erwartet.replaceInStrings(QStringLiteral("Highscore1/"), QString());
        zeilen.sort();
        erwartet.sort();
        QCOMPARE(zeilen, erwartet);
    }

    void loeschen_meldetZuerstUndSetztAlleVierListenZurueck() {
        FakeEinstellungen speicher;
        FakeMeldung meldung;
        vorbelegen(speicher, {"Anna:245"});
        wk::Highscore highscore(speicher, meldung);
        highscore.highscore_anzeigen(1, false);
        std::size_t schreibvorgaengeBeimHinweis = 99;
        meldung.waehrendOffen = [&] { schreibvorgaengeBeimHinweis = speicher.protokoll().size(); };

        highscore.highscore_loeschen();

        QCOMPARE(meldung.texte.size(), std::size_t{1});
        QCOMPARE(q(meldung.texte.front()), QStringLiteral(" Highscore wird gelöscht."));
        QCOMPARE(schreibvorgaengeBeimHinweis, std::size_t{0});
        QStringList geloescht;
        for (const char* abschnitt : {"Highscore1", "Highscore5", "Highscore10", "Highscore25"}) {
            geloescht << rueckschrieb(abschnitt, plaetze({}, "..:0"));
        }
        QCOMPARE(protokoll(speicher), geloescht);
        QCOMPARE(speicher.zugriffeOhneTransaktion(), 0);
        QCOMPARE(q(highscore.BestenNamen()[1]), QStringLiteral("Anna"));
        QCOMPARE(highscore.BestenPunkte()[1], 245.0);
    }
};

QTEST_GUILESS_MAIN(TstHighscore)
#include "tst_highscore.moc"
