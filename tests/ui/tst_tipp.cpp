// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The coach: a player who always follows its advice, and the advice in the
// game window.
#include "ganzetabelle.h"
#include "programm.h"
#include "ui/tipp.h"
#include "ui/tipptabelle.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <cmath>
#include <future>
#include <numeric>

#include <sched.h>

namespace {

#ifdef WK_SANITIZE
constexpr int Blaetter = 2000;  // the sanitizers make every sheet about ten times slower
#else
constexpr int Blaetter = 100000;
#endif

QString knopf(int zelle) { return QString::fromUtf8(wk::Kategorien[zelle].knopf.data()); }

// Plays `anzahl` sheets through the game's handlers as one player who always
// follows the advice, adding the points of each to `punkte`. Returns the first
// illegal advice, or nothing.
QString spielen(const wk::Tabelle& tabelle, int anzahl, std::uint64_t saat, std::vector<double>& punkte) {
    wk::Spielstand stand = einSpieler(anzahl);
    wk::Zufall zufall(saat);
    FakeMeldung meldung;
    wk::Spiel spiel(stand, zufall, meldung, {});
    spiel.Form_Load();
    wk::Berater berater;
    berater.tabelleSetzen(tabelle);
    const wk::Spielfeld& f = spiel.feld();
    for (double bisher = 0; !spiel.beendet();) {
        f.Command17.Visible ? spiel.Command17_Click() : spiel.Command3_Click();
        while (f.Timer1) spiel.Timer1_Timer();
        const wk::Rat r = berater.rat(f, stand);
        if (r.lage != wk::Ratlage::Rat) return "no advice after a roll: " + QString::fromStdString(r.text);
        if (r.zelle < 0 && stand.Wuerfe >= 3) return "a fourth roll";
        if (r.zelle >= 0) {
            if (!f.Kategorien[r.zelle].Visible || !f.Kategorien[r.zelle].Enabled) return "a used category";
            spiel.Kategorie_Click(r.zelle);
            if (stand.Eingetragen == 0 || spiel.beendet()) {  // a sheet is finished
                punkte.push_back(stand.Gesamtpunkte[1] - bisher);
                bisher = stand.Gesamtpunkte[1];
            }
            continue;
        }
        for (int i = 0; i < 5; ++i) {
            if (r.ablegen[i]) spiel.w1_Click(i);
            if (r.zuruecknehmen[i]) spiel.Raus_Click(i);
        }
        // A mark the game cannot follow leaves the tray short of the advice.
        wk::Augenzahl ablage{};
        for (const wk::Wuerfelbox& b : f.Raus) ablage[b.Visible ? b.Tag[0] - '0' : 0] += b.Visible;
        if (ablage != r.behalten) return "the marks do not keep " + QString::fromStdString(r.text);
    }
    return {};
}

// A game window of one player, with the coach or without.
struct Fenster {
    Fenster(const wk::Artwork& artwork, wk::Tipptabelle* tabelle) : form{stand, zufall, meldung, oben, artwork, [] {}} {
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

    wk::Spielstand stand = einSpieler(1);
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
    // three standard errors of the table's value of a fresh sheet.
    void werDemRatFolgtErreichtDenWertDerTabelle() {
        const wk::Tabelle& t = *m_ganz;
        std::vector<double> p, zweite;
        auto zweiter = std::async(std::launch::async, [&] { return spielen(t, Blaetter / 2, 2, zweite); });
        const QString fehler = spielen(t, Blaetter - Blaetter / 2, 1, p) + zweiter.get();
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
        p.insert(p.end(), zweite.begin(), zweite.end());
        QCOMPARE(int(p.size()), Blaetter);
        const double n = Blaetter, mittel = std::accumulate(p.begin(), p.end(), 0.0) / n;
        const double standardfehler = std::sqrt((std::inner_product(p.begin(), p.end(), p.begin(), 0.0) / n - mittel * mittel) / (n - 1));
        qInfo("%.0f sheets: mean %.3f +- %.3f, table %.6f", n, mittel, standardfehler, t.wert(wk::AlleOffen, 0));
        QVERIFY(std::abs(mittel - t.wert(wk::AlleOffen, 0)) <= 3 * standardfehler);
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
};

QTEST_MAIN(TstTipp)
#include "tst_tipp.moc"
