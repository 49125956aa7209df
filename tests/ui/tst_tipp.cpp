// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The coach: a player who always follows its advice, and the advice in the
// game window.
#include "blattspiele.h"
#include "ganzetabelle.h"
#include "programm.h"
#include "strategie/gegner.h"
#include "ui/tipp.h"
#include "ui/tipptabelle.h"

#include <QLabel>
#include <QRegularExpression>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <cmath>
#include <future>
#include <numeric>
#include <set>

#include <sched.h>

namespace {

#ifdef WK_SANITIZE
constexpr int Blaetter = 1000;  // the sanitizers make every sheet about ten times slower
constexpr int GemischteBlaetter = 600;
#else
constexpr int Blaetter = 50000;
constexpr int GemischteBlaetter = 10200;
#endif

QString knopf(int zelle) { return QString::fromUtf8(wk::Kategorien[zelle].knopf.data()); }

// Points with one decimal and a comma: "-9,2".
QString komma(double wert) { return QString::number(wert, 'f', 1).replace('.', ','); }

// A game window of one player and `runden` sheets, with the coach or without.
struct Fenster {
    Fenster(const wk::Artwork& artwork, wk::Tipptabelle* tabelle, int runden = 1)
        : stand(einSpieler(runden)), form{stand, zufall, meldung, oben, artwork, [] {}} {
        if (tabelle) form.tippAnbieten(*tabelle);
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->setInterval(0);
        form.show();
    }
    QWidget* in(const QString& name) { return form.findChild<QWidget*>(name); }
    void klick(const QString& name) {
        QWidget* w = in(name);
        QVERIFY2(w && w->isVisible() && w->isEnabled(), qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
    QString tipp(bool knopf = false) {  // what the window shows after H, or after a click on its button
        knopf ? klick(QStringLiteral("TippKnopf")) : QTest::keyClick(&form, Qt::Key_H);
        const auto* anzeige = form.findChild<QLabel*>(QStringLiteral("Tipp"));
        return anzeige->isVisible() && anzeige->accessibleName() == "Tipp" && anzeige->accessibleDescription() == anzeige->text() ? anzeige->text() : "?";
    }
    // The colour of the advice's ring around the control `name`: the pixel
    // halfway up its left edge, where a ring runs three pixels out.
    QColor ring(const QString& name) {
        const QRect ort = in(name)->geometry();
        return form.grab().toImage().pixelColor(ort.left() - 3, ort.center().y());
    }
    const wk::Spielfeld& feld() const { return form.spiel().feld(); }
    QString bild() const {  // the sheet and where each die lies
        const wk::Spielfeld& f = feld();
        QString s;
        for (const auto& z : f.Zahlen) s += QString::fromStdString(z) + ' ';
        for (int i = 0; i < 5; ++i) s += QStringLiteral("%1@%2,%3 %4 ").arg(QString::fromStdString(f.w1[i].Tag)).arg(f.w1[i].Left).arg(f.w1[i].Top).arg(QString::fromStdString(f.Raus[i].Tag));
        return s;
    }

    wk::Spielstand stand;
    wk::Zufall zufall;
    FakeMeldung meldung;
    wk::QtFensterOben oben;
    wk::Form1 form;
};

} // namespace

class TstTipp : public MitGanzerTabelle {
    Q_OBJECT

    const wk::Artwork m_artwork{1.0};

private slots:
    void initTestCase() { tabelleRechnen(); }

    // A thread of idle priority gets almost nothing while other programs
    // compute. The threads share the table's work places; their table is the
    // one a single thread computes, to the last bit (under the sanitizers,
    // which make a table ten times slower, an eighth of it).
    void aufFaedenNormalerPrioritaetWieAufEinem() {
        QVERIFY(!m_imLeerlauf);
#ifdef WK_SANITIZE
        const wk::Offen bereich = wk::AlleOffen & ~(7u << 3);  // an eighth of the states: "4er" to "6er" entered
#else
        const wk::Offen bereich = wk::AlleOffen;
#endif
        const wk::Tabelle einer(wk::Hausregeln, wk::nacheinander, bereich);
        for (wk::Offen offen = bereich;; offen = (offen - 1) & bereich) {
            for (int oben = 0; oben <= wk::Bonusschwelle; ++oben) {
                if (m_ganz->wert(offen, oben) != einer.wert(offen, oben)) {
                    QFAIL(qPrintable(QStringLiteral("open %1, upper %2: %3 vs %4").arg(offen).arg(oben).arg(m_ganz->wert(offen, oben), 0, 'g', 17).arg(einer.wert(offen, oben), 0, 'g', 17)));
                }
            }
            if (offen == 0) break;
        }
    }

    // Two seeded players on both cores; the mean of their sheets lies within
    // three standard errors of the table's value of a fresh sheet, and the
    // luck of their sheets averages to zero alike.
    void werDemRatFolgtErreichtDenWertDerTabelle() {
        const wk::Tabelle& t = *m_ganz;
        std::vector<double> p, zweite, glueck, zweitesGlueck;
        auto zweiter = std::async(std::launch::async, [&] { return spielen(t, Blaetter / 2, 2, zweite, zweitesGlueck); });
        const QString fehler = spielen(t, Blaetter - Blaetter / 2, 1, p, glueck) + zweiter.get();
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        p.insert(p.end(), zweite.begin(), zweite.end());
        glueck.insert(glueck.end(), zweitesGlueck.begin(), zweitesGlueck.end());
        QCOMPARE(int(p.size()), Blaetter);
        QCOMPARE(int(glueck.size()), Blaetter);
        const auto mittelUndFehler = [](const std::vector<double>& x) {
            const double n = double(x.size()), mittel = std::accumulate(x.begin(), x.end(), 0.0) / n;
            return std::pair{mittel, std::sqrt((std::inner_product(x.begin(), x.end(), x.begin(), 0.0) / n - mittel * mittel) / (n - 1))};
        };
        const auto [mittel, standardfehler] = mittelUndFehler(p);
        const auto [glueckMittel, glueckFehler] = mittelUndFehler(glueck);
        qInfo("%d sheets: mean %.3f +- %.3f, table %.6f; luck %.3f +- %.3f", Blaetter, mittel, standardfehler, t.wert(wk::AlleOffen, 0), glueckMittel, glueckFehler);
        QVERIFY(std::abs(mittel - t.wert(wk::AlleOffen, 0)) <= 3 * standardfehler);
        QVERIFY(std::abs(glueckMittel) <= 3 * glueckFehler);
    }

    // Sheets of the best, a weak and a random player (each choice of a moment
    // alike likely), on both cores: every balance adds up to its sheet.
    void bilanzGehtBeiJedemSpielerAuf() {
        const wk::Staerke zufaellig{"", "", 1e9, 0};
        auto zweiter = std::async(std::launch::async, [&] { return bilanzenEinesGegners(*m_ganz, zufaellig, GemischteBlaetter / 3, 5); });
        const QString fehler = bilanzenEinesGegners(*m_ganz, wk::Staerken.back(), GemischteBlaetter / 3, 3) +
                               bilanzenEinesGegners(*m_ganz, wk::Staerken.front(), GemischteBlaetter / 3, 4) + zweiter.get();
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
    }

    // The table is asked for right after the start window's first paint, so
    // that it is there by the first roll and never delays that paint; the
    // game window offers the coach.
    void tabelleNachDemErstenBildDesStartfensters() {
        wk::Tipptabelle tabelle([](const wk::Verteiler& v) { return std::make_unique<wk::Tabelle>(wk::Hausregeln, v, 1u << 12); });
        FakeMeldung meldung;
        FakeEingabe eingabe;
        FakeLinks links;
        wk::QtFensterOben oben;
        FakeEinstellungen einstellungen;
        wk::Anwendung anwendung({meldung, eingabe, links, oben, einstellungen}, m_artwork, tabelle);
        anwendung.starten();
        QVERIFY(!tabelle.angefordert());
        QTRY_VERIFY(tabelle.angefordert());
        for (const char* knopf : {"Option2_0", "Command1"}) anwendung.form2()->findChild<QAbstractButton*>(knopf)->click();
        QVERIFY(anwendung.form1());
        QVERIFY(anwendung.form1()->findChild<QPushButton*>(QStringLiteral("TippKnopf"))->isVisible());
    }

    // Each state of a turn in the window, with H and the button; a twin window
    // without the coach, given the same clicks, rolls the same dice.
    void tippImFenster() {
        Fenster f(m_artwork, &m_tabelle), zwilling(m_artwork, nullptr);
        const wk::Tipp& tipp = *f.form.findChild<wk::Tipp*>();
        const auto beide = [&](const QString& name) {  // and lets the dice come to rest
            f.klick(name);
            zwilling.klick(name);
            QVERIFY(f.in(QStringLiteral("Tipp"))->isHidden());  // the advice was for the dice before the click
            if (f.feld().Timer1) QCOMPARE(f.tipp().section('\n', 0, 0), QStringLiteral("Kein Tipp, solange die Würfel rollen."));
            QTRY_VERIFY(!f.feld().Timer1 && !zwilling.feld().Timer1);
            QCOMPARE(f.bild(), zwilling.bild());
        };
        const auto ersteOffene = [&] {
            int z = 0;
            while (!f.feld().Kategorien[z].Visible) ++z;
            return knopf(z);
        };
        QVERIFY(f.form.rect().contains(f.in(QStringLiteral("TippKnopf"))->geometry().united(f.in(QStringLiteral("Tipp"))->geometry())));
        QCOMPARE(f.tipp(), QStringLiteral("Kein Tipp vor dem ersten Wurf."));
        f.meldung.waehrendOffen = [&] { QCOMPARE(f.tipp(), QStringLiteral("Kein Tipp, solange eine Meldung offen ist.")); };
        f.klick(QStringLiteral("w1_0"));  // " Du hast noch nicht gewürfelt."
        QCOMPARE(f.meldung.texte.size(), std::size_t(1));

        // Roll and follow the advice, by its marks, until it says to roll again
        // with two categories entered; entering one there instead costs.
        for (QStringList preis;; preis = QStringList{"letzter Zug: 0,0"}) {
            beide(f.feld().Command17.Visible ? QStringLiteral("Command17") : QStringLiteral("Command3"));
            QCOMPARE(f.tipp(true).split('\n').mid(2), preis);
            const wk::Rat r = tipp.rat();
            if (r.zelle < 0 && f.form.spiel().stand().Eingetragen >= 2) break;
            if (r.zelle >= 0) beide(knopf(r.zelle));
            for (int i = 0; i < 5 && r.zelle < 0; ++i) {
                if (r.ablegen[i]) beide(QStringLiteral("w1_%1").arg(i));
                if (r.zuruecknehmen[i]) beide(QStringLiteral("Raus_%1").arg(i));
            }
        }
        // The marks: gold on the table dice to put aside and on "Würfeln";
        // after putting a die aside that the advice does not keep, blue on its
        // tray box and nothing on the table box of the same index. A key for
        // an empty tray box does nothing, and the advice stays.
        const QColor gold(255, 214, 64), blau(96, 200, 255);
        QCOMPARE(f.ring(QStringLiteral("Command17")), gold);
        const wk::Rat gekauft = tipp.rat();
        int falsch = 0;
        while (falsch < 5 && (!f.feld().w1[falsch].Visible || gekauft.ablegen[falsch])) ++falsch;
        for (int i = 0; i < 5; ++i) {
            if (gekauft.ablegen[i]) QCOMPARE(f.ring(QStringLiteral("w1_%1").arg(i)), gold);
        }
        QVERIFY(falsch < 5);
        beide(QStringLiteral("w1_%1").arg(falsch));
        f.tipp();
        int zurueck = 0, leer = 0;
        while (!tipp.rat().zuruecknehmen[zurueck]) ++zurueck;
        while (f.feld().Raus[leer].Visible) ++leer;
        QCOMPARE(f.ring(QStringLiteral("Raus_%1").arg(zurueck)), blau);
        QVERIFY(f.ring(QStringLiteral("w1_%1").arg(zurueck)) != blau);
        QTest::keyClick(&f.form, Qt::Key(Qt::Key_A + leer));
        QVERIFY(f.in(QStringLiteral("Tipp"))->isVisible());
        beide(ersteOffene());
        QVERIFY(QRegularExpression("^Kein Tipp vor dem ersten Wurf.\nletzter Zug: -[0-9]+,[0-9]$").match(f.tipp()).hasMatch());

        // An entry while the dice tumble scores the previous roll: no price.
        beide(QStringLiteral("Command3"));
        for (Fenster* w : {&f, &zwilling}) w->klick(QStringLiteral("Command17"));
        beide(ersteOffene());
        QCOMPARE(f.tipp(), QStringLiteral("Kein Tipp vor dem ersten Wurf."));
    }

    // A sheet played by the advice but for four entries made right after the
    // first roll into a category the dice hardly fill. At its end the panel
    // shows the balance without a key, beside the hand-over message, and the
    // course names the three costliest of the four; both stay, H shows them
    // again, the next sheet's first roll hides them. The second sheet, with
    // an entry made while the dice tumble, ends the game: then each player's
    // price over the game shows too.
    void bilanzAmEndeDesBlatts() {
        Fenster f(m_artwork, &m_tabelle, 2);
        const wk::Tipp& tipp = *f.form.findChild<wk::Tipp*>();
        const QWidget& verlauf = *f.in(QStringLiteral("Verlauf"));
        const auto panel = [&] {
            const auto* a = f.form.findChild<QLabel*>(QStringLiteral("Tipp"));
            return a->isVisible() && a->accessibleDescription() == a->text() ? a->text() : QStringLiteral("?");
        };
        int wuerfe = 0;
        const auto tun = [&](wk::Aktion h, int i = -1) {
            wuerfe += h == wk::Aktion::Wuerfeln;
            f.form.handeln({h, i});
            f.form.wurfAbschliessen();
        };
        const auto folgen = [&](const wk::Rat& r) {
            for (int i = 0; i < 5; ++i) {
                if (r.ablegen[i]) tun(wk::Aktion::Ablegen, i);
                if (r.zuruecknehmen[i]) tun(wk::Aktion::Zuruecknehmen, i);
            }
        };
        const std::set<int> daneben{2, 4, 6, 9};  // the turns
        // The category for such an entry: the first open one, not the advised
        // one, of Wurfkrone, Grosse Strasse, Full Haus, Kleine Strasse, Chance.
        const auto schlecht = [&](const wk::Rat& r) {
            for (int z : {11, 10, 8, 9, 12}) {
                if (f.feld().Kategorien[z].Visible && z != r.zelle) return z;
            }
            return -1;
        };
        std::vector<std::pair<double, QString>> kosten;  // price, "Zug 2: ..."
        double preise = 0;
        QStringList amEnde;
        QStringList verdeckt;  // controls, shown or not, under the balance, the course or the players' prices
        f.meldung.waehrendOffen = [&] {
            for (const QWidget* w : f.form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (w->isWindow() || w->geometry() == f.form.rect() || QStringList{"Tipp", "TippKnopf", "Verlauf", "Bilanzen"}.contains(w->objectName())) continue;
                for (const char* oben : {"Tipp", "Verlauf", "Bilanzen"}) {
                    if (f.in(oben)->isVisible() && f.in(oben)->geometry().intersects(w->geometry())) verdeckt << oben + (" " + w->objectName());
                }
            }
            const auto* spieler = f.form.findChild<QLabel*>(QStringLiteral("Bilanz_0"));
            const bool ganz = spieler->fontMetrics().horizontalAdvance(spieler->text()) <= spieler->contentsRect().width();  // not cut off
            amEnde = {panel(), verlauf.isVisible() ? verlauf.accessibleDescription() : "?", QString::fromStdString(f.feld().Zahlen[13]),
                      spieler->isVisible() && ganz && spieler->accessibleName() == "Bilanz Spieler 1" ? spieler->accessibleDescription() : "-"};
        };
        for (int zug = 1; zug <= 13; ++zug) {
            tun(wk::Aktion::Wuerfeln);
            for (;;) {
                f.tipp();
                const wk::Rat r = tipp.rat();
                if (daneben.count(zug) && f.stand.Wuerfe == 1) {
                    const int zelle = schlecht(r);
                    tun(wk::Aktion::Eintragen, zelle);
                    f.tipp();
                    QVERIFY2(tipp.rat().letzterZug && *tipp.rat().letzterZug < -0.05, qPrintable(QString::fromStdString(tipp.rat().text) + " / " + QString::fromStdString(r.text)));
                    const QString rat = QString::fromStdString(r.text).section('\n', 0, 0).replace(": ", " ");
                    kosten.emplace_back(*tipp.rat().letzterZug, QStringLiteral("Zug %1: eintragen %2 statt %3, %4").arg(zug).arg(wk::Kategorien[zelle].beschriftung.data(), rat, komma(*tipp.rat().letzterZug)));
                    preise += *tipp.rat().letzterZug;
                    break;
                }
                if (r.zelle >= 0) {
                    tun(wk::Aktion::Eintragen, r.zelle);
                    break;
                }
                folgen(r);
                tun(wk::Aktion::Wuerfeln);
            }
        }
        std::sort(kosten.begin(), kosten.end());
        QCOMPARE(f.meldung.texte.size(), std::size_t(1));
        const QString bilanz = QStringLiteral("Blatt: %1 Punkte\nErwartung am Anfang: 332,1\nGlück: ").arg(amEnde.value(2)) + "%1\nEntscheidungen: " + komma(preise) + QStringLiteral(" (4 von %1 nicht die besten)").arg(wuerfe);
        QCOMPARE(QString(amEnde[0]).replace(QRegularExpression("Glück: [+-]?[0-9]+,[0-9]"), "Glück: %1"), bilanz);
        const double glueck = amEnde[0].section('\n', 2, 2).section(' ', 1).replace(',', '.').toDouble();
        QVERIFY(std::abs(332.1 + glueck + preise - amEnde[2].toInt()) < 0.15);
        QCOMPARE(amEnde[1], kosten[0].second + '\n' + kosten[1].second + '\n' + kosten[2].second);
        QCOMPARE(amEnde[3], "-");  // the players' prices over the game come with its end
        QCOMPARE(panel(), amEnde[0]);
        QVERIFY(verlauf.isVisible());
        QCOMPARE(f.tipp(), amEnde[0]);
        tun(wk::Aktion::Wuerfeln);
        QVERIFY(f.in(QStringLiteral("Tipp"))->isHidden() && verlauf.isHidden());

        // The second sheet: the advice throughout, but once the dice tumble an
        // entry is made.
        wuerfe = 1;
        for (bool getaumelt = false; !f.form.spiel().beendet();) {
            f.tipp();
            const wk::Rat r = tipp.rat();
            if (r.zelle >= 0) {
                tun(wk::Aktion::Eintragen, r.zelle);
                if (!f.form.spiel().beendet()) tun(wk::Aktion::Wuerfeln);
                continue;
            }
            folgen(r);
            ++wuerfe;
            f.form.handeln({wk::Aktion::Wuerfeln});
            if (!getaumelt) {
                int zelle = 0;
                while (!f.feld().Kategorien[zelle].Visible) ++zelle;
                QVERIFY(f.feld().Timer1);
                f.form.handeln({wk::Aktion::Eintragen, zelle});
                getaumelt = true;
                f.form.wurfAbschliessen();
                tun(wk::Aktion::Wuerfeln);
            }
            f.form.wurfAbschliessen();
        }
        QCOMPARE(f.meldung.texte.back(), std::string(" Alle Runden wurden absolviert.."));
        QVERIFY2(QRegularExpression(QStringLiteral("^Blatt: [0-9]+ Punkte\nErwartung am Anfang: 332,1\nGlück: [+-]?[0-9]+,[0-9]\n"
                                                   "Entscheidungen: 0,0 \\(0 von %1 nicht die besten\\)\nnicht bewertet: 1 \\([+-]?[0-9]+,[0-9]\\)$").arg(wuerfe - 1))
                     .match(amEnde[0]).hasMatch(), qPrintable(amEnde[0]));
        double summe = 0;  // the five numbers of the second sheet's balance add up to its total
        for (const QString& zeile : amEnde[0].split('\n').mid(1)) {
            const QString zahl = zeile.startsWith("nicht") ? zeile.section('(', 1).chopped(1) : zeile.section(": ", 1).section(' ', 0, 0);
            summe += QString(zahl).replace(',', '.').toDouble();
        }
        QVERIFY2(std::abs(summe - amEnde[2].toInt()) < 0.2, qPrintable(amEnde[0]));
        QCOMPARE(amEnde[3], "Entscheidungen: " + komma(preise));
        QCOMPARE(verdeckt, QStringList());
    }
};

QTEST_MAIN(TstTipp)
#include "tst_tipp.moc"
