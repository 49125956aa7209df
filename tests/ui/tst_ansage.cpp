// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// What a blind player hears, as the accessibility layer passes it to a screen
// reader: each action one announcement with its text, after the window shows
// what it tells, and nothing at all while no screen reader listens.
#include "game/wertung.h"
#include "programm.h"
#include "ui/ansage.h"
#include "ui/tipptabelle.h"

#include "mithoeren.h"

#include <QPushButton>

namespace {

QString zelle(int i) { return QString::fromUtf8(wk::Kategorien[static_cast<std::size_t>(i)].beschriftung.data()); }

// A game window of one player over one sheet, with the coach, whose table is
// never computed.
struct Spielfenster {
    Spielfenster(const wk::Artwork& artwork, Mithoerer& ohr, wk::Zufall wuerfel = {})
        : ohr(ohr), zufall(wuerfel), form{stand, zufall, meldung, oben, artwork, [] {}} {
        form.tippAnbieten(tabelle);
        timer()->setInterval(0);
        form.show();
    }
    QTimer* timer() { return form.findChild<QTimer*>(QStringLiteral("Timer1")); }
    QWidget* in(const QString& name) { return form.findChild<QWidget*>(name); }
    const wk::Spielfeld& feld() const { return form.spiel().feld(); }
    QString text(const QString& name) { return static_cast<QLabel*>(in(name))->text(); }
    // What `handlung` makes heard, once the dice rest and the announcements
    // are out; `burst`: the accessibility events the action sent, at the end
    // of a roll those of its last interval.
    QStringList hoeren(const std::function<void()>& handlung) {
        const wk::Ansage* ansage = form.findChild<wk::Ansage*>();
        [&] { QTRY_VERIFY(!ansage->wartet()); }();  // what came before is out
        ohr.ansagen.clear();
        ohr.ereignisse = 0;
        int vorDerRuhe = 0;
        QMetaObject::Connection takt = QObject::connect(timer(), &QTimer::timeout, &form, [&] {
            if (feld().Timer1) vorDerRuhe = ohr.ereignisse;
        });
        handlung();
        [&] { QTRY_VERIFY(!feld().Timer1); }();
        QObject::disconnect(takt);
        burst = ohr.ereignisse - vorDerRuhe;
        [&] { QTRY_VERIFY(!ansage->wartet()); }();
        return ohr.ansagen;
    }
    QStringList taste(int taste) {
        return hoeren([&] { QTest::keyClick(&form, static_cast<Qt::Key>(taste)); });
    }
    // The dice as the window shows them: table places 1-5, tray A-E; "leer" where none lies.
    QStringList wuerfel(const char* art) {
        QStringList w;
        for (int i = 0; i < 5; ++i) {
            QWidget* box = in(QStringLiteral("%1_%2").arg(QLatin1String(art)).arg(i));
            w << (box->isVisible() ? box->accessibleDescription() : QStringLiteral("leer"));
        }
        return w;
    }
    // Rolls a turn out without listening, keeping the dice of the upper
    // category that brings most, and returns that category, or the first open one.
    int auswuerfeln() {
        const auto beste = [&] {
            int wahl = -1, wert = 0;
            for (int z = 0; z < 6; ++z) {
                if (feld().Kategorien[z].Visible && form.spiel().wuerdeBringen(z) >= wert) wahl = z, wert = form.spiel().wuerdeBringen(z);
            }
            return wahl;
        };
        while (feld().Command17.Visible || feld().Command3.Visible) {
            form.handeln({wk::Aktion::Wuerfeln});
            [&] { QTRY_VERIFY(!feld().Timer1); }();
            for (int i = 0; i < 5 && beste() >= 0; ++i) {
                if (feld().w1[i].Tag == std::to_string(beste() + 1)) form.handeln({wk::Aktion::Ablegen, i});
            }
        }
        int z = qMax(beste(), 0);
        while (!feld().Kategorien[z].Visible) ++z;
        return z;
    }

    Mithoerer& ohr;
    wk::Spielstand stand = einSpieler(1);
    wk::Zufall zufall;
    FakeMeldung meldung;
    wk::QtFensterOben oben;
    wk::Tipptabelle tabelle{[](const wk::Verteiler&) { return std::unique_ptr<wk::Tabelle>(); }};
    wk::Form1 form;
    int burst = 0;
};

} // namespace

class TstAnsage : public QObject {
    Q_OBJECT

    const wk::Artwork m_artwork{1.0};
    Mithoerer m_mithoerer;

private slots:
    void initTestCase() { m_mithoerer.anfangen(); }
    // As a screen reader switches it on.
    void init() { Mithoerer::bildschirmleser(true); }

    // A turn and a sheet by keys, as a blind player plays them.
    void jedeHandlungEineAnsage() {
        m_mithoerer.ansagen.clear();
        Spielfenster f(m_artwork, m_mithoerer);
        const QString hilfe = f.form.hilfe();
        QVERIFY(hilfe.contains(QStringLiteral("L sagt")) && hilfe.contains(QStringLiteral("F1 sagt")));
        QTRY_VERIFY(!f.form.findChild<wk::Ansage*>()->wartet());
        QCOMPARE(m_mithoerer.ansagen, QStringList{hilfe});  // once, when the window opens

        // Nothing while the dice tumble at their real pace; once at rest, the roll.
        f.timer()->setInterval(wk::Form1::TimerIntervallMs);
        int stille = 0;
        connect(f.timer(), &QTimer::timeout, this, [&] { stille += f.feld().Timer1 && m_mithoerer.ansagen.isEmpty(); });
        QStringList gehoert = f.taste(Qt::Key_R);
        QVERIFY(stille >= 5);
        const QStringList erster = f.wuerfel("w1");
        QCOMPARE(gehoert, QStringList{QStringLiteral("Gewürfelt: %1. Noch 2 Würfe.").arg(erster.join(", "))});
        f.timer()->setInterval(0);

        QCOMPARE(f.taste(Qt::Key_H), QStringList{"Der Tipp wird noch berechnet."});
        for (int i = 0; i < 4; ++i) QCOMPARE(f.taste(Qt::Key_1 + i), QStringList{erster[i] + " in die Ablage."});
        QCOMPARE(f.taste(Qt::Key_B), QStringList{erster[1] + " zurück auf den Tisch."});  // to the first free place
        QCOMPARE(f.taste(Qt::Key_1), QStringList{erster[1] + " in die Ablage."});  // into the first free tray box
        QCOMPARE(f.taste(Qt::Key_2), QStringList{});  // no die on that place
        gehoert = f.taste(Qt::Key_R);
        const QString ablage = QStringList{erster[0], erster[1], erster[2], erster[3]}.join(", ");
        QCOMPARE(gehoert, QStringList{QStringLiteral("Gewürfelt: leer, leer, leer, leer, %1. Ablage: %2. Noch 1 Wurf.").arg(f.wuerfel("w1")[4], ablage)});
        QCOMPARE(f.taste(Qt::Key_A), QStringList{erster[0] + " zurück auf den Tisch."});
        gehoert = f.taste(Qt::Key_R);
        const QString wurf = QStringLiteral("Gewürfelt: %1. Ablage: leer, %2. Keine Würfe mehr.").arg(f.wuerfel("w1").join(", "), QStringList{erster[1], erster[2], erster[3]}.join(", "));
        QCOMPARE(gehoert, QStringList{wurf});
        QCOMPARE(f.taste(Qt::Key_L), QStringList{wurf + " Gesamt: 0. Noch 13 Kategorien offen."});
        QCOMPARE(f.taste(Qt::Key_F1), QStringList{hilfe});

        // Tab to a category and Space: the entry and the sheet's total, and
        // the focus back on the window, which does not repeat the key help.
        QApplication::setActiveWindow(&f.form);
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        f.form.setFocus();
        QTest::keyClick(&f.form, Qt::Key_Tab);
        QWidget* knopf = f.form.focusWidget();
        QVERIFY(knopf && knopf != &f.form);
        const QString vorschau = QAccessible::queryAccessibleInterface(knopf)->text(QAccessible::Description);
        QVERIFY(vorschau.startsWith(QStringLiteral("Würde ")));
        gehoert = f.hoeren([&] { QTest::keyClick(knopf, Qt::Key_Space); });
        const QString punkte = f.text(QStringLiteral("Zahlen_0"));
        QCOMPARE(vorschau, QStringLiteral("Würde %1 bringen").arg(punkte + (punkte == "1" ? " Punkt" : " Punkte")));
        QCOMPARE(gehoert, QStringList{QStringLiteral("1er: %1 eingetragen. Gesamt: %2.").arg(punkte + (punkte == "1" ? " Punkt" : " Punkte"), f.text("Zahlen_13"))});
        QCOMPARE(f.form.focusWidget(), nullptr);  // Tab never comes round to the window either
        QCOMPARE(QAccessible::queryAccessibleInterface(&f.form)->text(QAccessible::Description), QString());
        // The screen reader drops what comes while more than about 50 events
        // wait: an entry, and the end of a roll, send well below that.
        QVERIFY2(f.burst <= 30, qPrintable(QString::number(f.burst)));
        f.hoeren([&] { f.form.handeln({wk::Aktion::Wuerfeln}); });
        QVERIFY2(f.burst <= 30, qPrintable(QString::number(f.burst)));
    }

    // A sheet played out: the upper entries and the last are heard, each
    // once, with the sheet's total; the bonus with the entry that brings it;
    // the last although the game's closing message opens at once, with the
    // sheet as the message shows it. (The dice of this seed bring the bonus.)
    void dieEintraegeEinesBlatts() {
        Spielfenster f(m_artwork, m_mithoerer, wk::Zufall(11));
        bool bonus = false;
        QString summe;
        f.meldung.waehrendOffen = [&] { summe = f.text(QStringLiteral("Zahlen_13")); };
        for (int eintrag = 0; eintrag < 13; ++eintrag) {
            const int z = f.auswuerfeln();
            const bool vorher = f.text(QStringLiteral("Label1_1")) != "0";
            if (z > 5 && eintrag < 12) {
                f.form.handeln({wk::Aktion::Eintragen, z});
                continue;
            }
            const QStringList gehoert = f.hoeren([&] { f.form.handeln({wk::Aktion::Eintragen, z}); });
            const bool neu = !vorher && f.text(QStringLiteral("Label1_1")) != "0";
            const QString punkte = f.text(QStringLiteral("Zahlen_%1").arg(z));
            QCOMPARE(gehoert, QStringList{QStringLiteral("%1: %2 eingetragen. Gesamt: %3.%4")
                                              .arg(zelle(z), punkte + (punkte == "1" ? " Punkt" : " Punkte"),
                                                   f.text(QStringLiteral("Zahlen_13")), neu ? " Bonus erreicht." : "")});
            bonus = bonus || neu;
        }
        QCOMPARE(f.meldung.texte, std::vector<std::string>{" Alle Runden wurden absolviert.."});
        QCOMPARE(summe, f.text(QStringLiteral("Zahlen_13")));
        QVERIFY(bonus);
    }

    // A list button tells the list shown, with its places that hold a result.
    void listenknopfSagtDieListe_data() {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("ansage");
        QTest::newRow("places") << "Command2_0" << QStringLiteral("Highscore bei 1 Rundenspiel. 1. \u2068Lena\u2069 187, 2. \u2068Jo Bo\u2069 90.");
        QTest::newRow("empty") << "Command2_3" << QStringLiteral("Highscore bei 25 Rundenspiel. Die Liste ist leer.");
    }
    void listenknopfSagtDieListe() {
        QFETCH(QString, knopf);
        QFETCH(QString, ansage);
        Programm p(m_artwork, {{"Highscore1/1", "187"}, {"Highscore1/Name1", "Lena"}, {"Highscore1/2", "90"},
                               {"Highscore1/Name2", "Jo\nBo"}, {"Highscore25/Name1", ".."}});
        m_mithoerer.ansagen.clear();
        p.klick2(knopf);
        QTRY_VERIFY(!p.anwendung.form2()->findChild<wk::Ansage*>()->wartet());
        QCOMPARE(m_mithoerer.ansagen, QStringList{ansage});
    }

    // Without a screen reader no announcement is prepared, and no element for
    // one is made.
    void ohneBildschirmleserKeineArbeit() {
        Mithoerer::bildschirmleser(false);
        Programm p(m_artwork);
        p.klick2(QStringLiteral("Command2_1"));
        QVERIFY(!p.anwendung.form2()->findChild<wk::Ansage*>());
        wk::Form1* form = p.spielStarten();
        QTest::keyClick(form, Qt::Key_R);
        QTest::keyClick(form, Qt::Key_L);
        QVERIFY(!form->findChild<wk::Ansage*>()->wartet());
        QVERIFY(!p.anwendung.form1()->findChild<QWidget*>(QStringLiteral("Ansage")));
    }
};

QTEST_MAIN(TstAnsage)
#include "tst_ansage.moc"
