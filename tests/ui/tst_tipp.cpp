// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The coach: a player who always follows its advice, and the advice in the
// game window.
#include "fakes/fakedienste.h"
#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "platform/fensteroben.h"
#include "ui/anwendung.h"
#include "ui/artwork.h"
#include "ui/masse.h"
#include "ui/tipp.h"
#include "ui/tipptabelle.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <thread>

namespace {

#ifdef WK_SANITIZE
constexpr int Blaetter = 2000;  // the sanitizers make every sheet about ten times slower
#else
constexpr int Blaetter = 100000;
#endif

// Sheets played by one player through the game's handlers, always as advised.
struct Spieler {
    double summe = 0, quadrate = 0;
    int blaetter = 0;
    QString fehler;  // the first illegal advice

    void spielen(const wk::Tabelle& tabelle, int anzahl, std::uint64_t saat) {
        wk::Spielstand stand;
        stand.Runden = anzahl;
        stand.spielerAnlegen(1);
        stand.spielStarten();
        wk::Zufall zufall(saat);
        FakeMeldung meldung;
        wk::Spiel spiel(stand, zufall, meldung, {});
        spiel.Form_Load();
        wk::Berater berater;
        berater.tabelleSetzen(tabelle);
        const wk::Spielfeld& f = spiel.feld();
        const auto wuerfeln = [&] {
            f.Command17.Visible ? spiel.Command17_Click() : spiel.Command3_Click();
            while (f.Timer1) spiel.Timer1_Timer();
        };
        for (double bisher = 0; !spiel.beendet() && fehler.isEmpty();) {
            wuerfeln();
            for (wk::Rat r = berater.rat(f, stand); fehler.isEmpty(); r = berater.rat(f, stand)) {
                fehler = illegal(r, f, stand.Wuerfe);
                if (r.zelle >= 0) {
                    spiel.Kategorie_Click(r.zelle);
                    break;
                }
                for (int i = 0; i < 5; ++i) {
                    if (r.ablegen[i]) spiel.w1_Click(i);
                    if (r.zuruecknehmen[i]) spiel.Raus_Click(i);
                }
                wk::Augenzahl ablage{};
                for (const wk::Wuerfelbox& b : f.Raus) ablage[b.Visible ? b.Tag[0] - '0' : 0] += b.Visible;
                if (ablage != r.behalten) fehler = "the marks do not keep " + QString::fromStdString(r.text);
                wuerfeln();
            }
            if (stand.Eingetragen == 0 || spiel.beendet()) {  // a sheet is finished
                const double punkte = stand.Gesamtpunkte[1] - bisher;
                bisher = stand.Gesamtpunkte[1];
                summe += punkte;
                quadrate += punkte * punkte;
                ++blaetter;
            }
        }
    }

    static QString illegal(const wk::Rat& r, const wk::Spielfeld& f, int wuerfe) {
        if (r.lage != wk::Ratlage::Rat) return "no advice after a roll: " + QString::fromStdString(r.text);
        if (r.zelle >= 0) return f.Kategorien[r.zelle].Visible && f.Kategorien[r.zelle].Enabled ? QString() : "a used category";
        if (wuerfe >= 3) return "a fourth roll";
        for (int i = 0; i < 5; ++i) {
            if ((r.ablegen[i] && !f.w1[i].Visible) || (r.zuruecknehmen[i] && !f.Raus[i].Visible)) return "a mark on an empty box";
        }
        return QString();
    }
};

struct NichtOben : wk::FensterOben {
    void fenster_oben(QWidget&, bool) override {}
};

// A game window of one player, with the coach or without.
struct Fenster {
    explicit Fenster(wk::Tipptabelle* tabelle) {
        if (tabelle) form.tippAnbieten(*tabelle);
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->setInterval(0);
        form.show();
    }
    template <typename T = QWidget>
    T* in(const QString& name) { return form.findChild<T*>(name); }
    void klick(const QString& name) {
        QWidget* w = in(name);
        QVERIFY2(w && w->isVisible() && w->isEnabled(), qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }
    void wurfAbwarten() { QTRY_VERIFY(!form.spiel().feld().Timer1); }
    QString tipp() {  // what the window shows after H
        QTest::keyClick(&form, Qt::Key_H);
        auto* anzeige = in<QLabel>(QStringLiteral("Tipp"));
        if (!anzeige->isVisible() || anzeige->accessibleName() != "Tipp" || anzeige->accessibleDescription() != anzeige->text()) return "?";
        return anzeige->text();
    }
    static wk::Spielstand einSpieler() {
        wk::Spielstand s;
        s.spielerAnlegen(1);
        s.Namen[1] = "Anna";
        s.spielStarten();
        return s;
    }
    wk::Spielstand stand = einSpieler();
    wk::Zufall zufall;
    FakeMeldung meldung;
    NichtOben oben;
    wk::Form1 form{stand, zufall, meldung, oben, *artwork, [] {}};
    static inline std::unique_ptr<wk::Artwork> artwork;
};

QString stand(const wk::Spielfeld& f) {
    QString s;
    for (const auto& z : f.Zahlen) s += QString::fromStdString(z) + ' ';
    for (int i = 0; i < 5; ++i) s += QStringLiteral("%1@%2,%3 %4 ").arg(QString::fromStdString(f.w1[i].Tag)).arg(f.w1[i].Left).arg(f.w1[i].Top).arg(QString::fromStdString(f.Raus[i].Tag));
    return s;
}

} // namespace

class TstTipp : public QObject {
    Q_OBJECT

    std::unique_ptr<wk::Tabelle> m_ganz;
    std::unique_ptr<wk::Tipptabelle> m_tabelle;

private slots:
    // The whole table once, on two threads of normal priority (idle ones wait
    // for every other test running); the windows get it through a Tipptabelle.
    void initTestCase() {
        Fenster::artwork = std::make_unique<wk::Artwork>(1.0);
        m_ganz = std::make_unique<wk::Tabelle>(wk::Hausregeln, [](int anzahl, const std::function<void(int)>& auftrag) {
            std::atomic<int> naechster{0};
            const auto arbeiten = [&] { for (int i = naechster++; i < anzahl; i = naechster++) auftrag(i); };
            std::thread helfer(arbeiten);
            arbeiten();
            helfer.join();
        });
        m_tabelle = std::make_unique<wk::Tipptabelle>([this](const wk::Verteiler&) { return std::make_unique<wk::Tabelle>(*m_ganz); });
        QSignalSpy fertig(m_tabelle.get(), &wk::Tipptabelle::fertig);
        m_tabelle->anfordern();
        QVERIFY(fertig.wait(60000));
    }
    void cleanupTestCase() { Fenster::artwork.reset(); }

    // Two seeded players on both cores; the mean of their sheets lies within
    // three standard errors of the table's value of a fresh sheet.
    void werDemRatFolgtErreichtDenWertDerTabelle() {
        const wk::Tabelle& t = *m_ganz;
        Spieler a, b;
        std::thread zweiter([&] { b.spielen(t, Blaetter / 2, 2); });
        a.spielen(t, Blaetter - Blaetter / 2, 1);
        zweiter.join();
        QVERIFY2(a.fehler.isEmpty() && b.fehler.isEmpty(), qPrintable(a.fehler + b.fehler));
        const double n = a.blaetter + b.blaetter, mittel = (a.summe + b.summe) / n;
        const double fehler = std::sqrt(((a.quadrate + b.quadrate) / n - mittel * mittel) / (n - 1));
        qInfo("%.0f sheets: mean %.3f +- %.3f, table %.6f", n, mittel, fehler, t.wert(wk::AlleOffen, 0));
        QCOMPARE(int(n), Blaetter);
        QVERIFY(std::abs(mittel - t.wert(wk::AlleOffen, 0)) <= 3 * fehler);
    }

    // The table is asked for when the first game window opens, not before.
    void tabelleErstMitDemSpielfenster() {
        wk::Tipptabelle tabelle([](const wk::Verteiler& v) { return std::make_unique<wk::Tabelle>(wk::Hausregeln, v, 1u << 12); });
        FakeMeldung meldung;
        FakeEingabe eingabe;
        FakeLinks links;
        NichtOben oben;
        FakeEinstellungen einstellungen;
        wk::Anwendung anwendung({meldung, eingabe, links, oben, einstellungen}, *Fenster::artwork, tabelle);
        anwendung.starten();
        QVERIFY(!tabelle.angefordert());
        for (const char* knopf : {"Option2_0", "Command1"}) anwendung.form2()->findChild<QAbstractButton*>(knopf)->click();
        QVERIFY(anwendung.form1() && tabelle.angefordert());
        QTRY_VERIFY(tabelle.tabelle());
        QVERIFY(anwendung.form1()->findChild<QPushButton*>(QStringLiteral("TippKnopf"))->isVisible());
    }

    // Button and advice lie on free felt: off every control, the tray and
    // the dice's tumbling areas.
    void tippVerdecktNichts() {
        Fenster f(m_tabelle.get());
        QRect frei = f.in(QStringLiteral("TippKnopf"))->geometry().united(f.in(QStringLiteral("Tipp"))->geometry());
        QVERIFY(f.form.rect().contains(frei));
        QRect wurf(wk::pixel(wk::WurfLeft(0)), wk::pixel(wk::WurfTop), 0, 0);
        wurf.setBottomRight(QPoint(wk::pixel(wk::WurfLeft(4) + wk::WurfBreite + wk::TischGroesse), wk::pixel(wk::WurfTop + wk::WurfHoehe + wk::TischGroesse)));
        QVERIFY(!frei.intersects(wurf));
        for (QWidget* w : f.form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->objectName() != "TippKnopf" && w->objectName() != "Tipp" && !w->objectName().isEmpty()) {
                QVERIFY2(!frei.intersects(w->geometry()), qPrintable(w->objectName()));
            }
        }
    }

    // Each state of a turn in the window, with H and the button; a twin window
    // without the coach, given the same clicks, rolls the same dice.
    void tippImFenster() {
        Fenster f(m_tabelle.get()), zwilling(nullptr);
        auto* tipp = f.form.findChild<wk::Tipp*>();
        const auto beide = [&](const QString& name) { f.klick(name); zwilling.klick(name); };
        const auto wuerfeln = [&] {
            beide(f.in(QStringLiteral("Command17"))->isVisible() ? QStringLiteral("Command17") : QStringLiteral("Command3"));
            QCOMPARE(f.tipp().section('\n', 0, 0), QStringLiteral("Kein Tipp, solange die Würfel rollen."));
            f.wurfAbwarten();
            zwilling.wurfAbwarten();
        };
        QCOMPARE(f.tipp(), QStringLiteral("Kein Tipp vor dem ersten Wurf."));
        f.meldung.waehrendOffen = [&] { QCOMPARE(f.tipp(), QStringLiteral("Kein Tipp, solange eine Meldung offen ist.")); };
        f.klick(QStringLiteral("w1_0"));  // " Du hast noch nicht gewürfelt."
        QCOMPARE(f.meldung.texte.size(), std::size_t(1));
        f.meldung.waehrendOffen = {};
        const auto ersteOffene = [&] {
            int z = 0;
            while (!f.form.spiel().feld().Kategorien[z].Visible) ++z;
            return QString::fromUtf8(wk::Kategorien[z].knopf.data());
        };

        // Follow the advice for two turns, by its marks; then enter a
        // category where rolling again was advised, which costs.
        bool abgewichen = false;
        QString letzter;
        for (int schritt = 0; !abgewichen && schritt < 40; ++schritt) {
            if (f.form.spiel().stand().Wuerfe == 0 || f.in(QStringLiteral("Command3"))->isVisible()) wuerfeln();
            f.klick(QStringLiteral("TippKnopf"));
            const QStringList zeilen = f.in<QLabel>(QStringLiteral("Tipp"))->text().split('\n');
            QCOMPARE(zeilen.mid(2), letzter.isEmpty() ? QStringList() : QStringList{letzter});
            QVERIFY2(QRegularExpression("^(behalten: (nichts|[1-6]( [1-6])*)|eintragen: .+)\nErwartung: [1-9][0-9]*,[0-9]$").match(zeilen.mid(0, 2).join('\n')).hasMatch(), qPrintable(zeilen.join('|')));
            const wk::Rat r = tipp->rat();
            if (r.zelle >= 0) {
                beide(QString::fromUtf8(wk::Kategorien[r.zelle].knopf.data()));
            } else if (f.form.spiel().stand().Eingetragen < 2) {
                for (int i = 0; i < 5; ++i) {
                    if (r.ablegen[i]) beide(QStringLiteral("w1_%1").arg(i));
                    if (r.zuruecknehmen[i]) beide(QStringLiteral("Raus_%1").arg(i));
                }
                beide(QStringLiteral("Command17"));
                QVERIFY(!f.in(QStringLiteral("Tipp"))->isVisible());  // gone at the next action
                f.wurfAbwarten();
                zwilling.wurfAbwarten();
            } else {
                abgewichen = true;
                beide(ersteOffene());
            }
            letzter = abgewichen ? "" : "letzter Zug: 0,0";
            QCOMPARE(stand(f.form.spiel().feld()), stand(zwilling.form.spiel().feld()));
        }
        QVERIFY(abgewichen);
        QVERIFY(QRegularExpression("^Kein Tipp vor dem ersten Wurf.\nletzter Zug: -[0-9]+,[0-9]$").match(f.tipp()).hasMatch());
        QVERIFY(*tipp->rat().letzterZug < 0);

        // An entry while the dice tumble scores the previous roll: no price.
        wuerfeln();
        beide(QStringLiteral("Command17"));
        beide(ersteOffene());
        QCOMPARE(f.tipp(), QStringLiteral("Kein Tipp, solange die Würfel rollen."));
        f.wurfAbwarten();
        zwilling.wurfAbwarten();
        QCOMPARE(f.tipp(), QStringLiteral("Kein Tipp vor dem ersten Wurf."));
        QCOMPARE(stand(f.form.spiel().feld()), stand(zwilling.form.spiel().feld()));
    }
};

QTEST_MAIN(TstTipp)
#include "tst_tipp.moc"
