// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Computer players: whole games of every strength through the game's
// handlers, the strengths' means, the strongest against the coach; a
// computer's sheet in the game window at every pace; the choice on the
// start window.
#include "fakes/fakedienste.h"
#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "ganzetabelle.h"
#include "mithoeren.h"
#include "sitzung.h"
#include "game/zahltext.h"
#include "highscore/highscore.h"
#include "platform/fensteroben.h"
#include "strategie/berater.h"
#include "strategie/gegner.h"
#include "ui/anwendung.h"
#include "ui/ansage.h"
#include "ui/artwork.h"
#include "ui/computerspieler.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <future>
#include <set>

namespace {

#ifdef WK_SANITIZE
constexpr int Blaetter = 200;        // per strength: the sanitizers make every sheet about ten times slower
constexpr int Meisterblaetter = 20;  // checked against the coach state by state
#else
constexpr int Blaetter = 4000;
constexpr int Meisterblaetter = 200;
#endif

QString text(const std::optional<wk::Schritt>& s) {
    static const char* namen[] = {"roll", "put aside", "take back", "enter"};
    return s ? QStringLiteral("%1 %2").arg(QLatin1String(namen[int(s->aktion)])).arg(s->index) : QStringLiteral("none");
}

// Whether the game takes `s` now, as its control would take a click.
bool erlaubt(const wk::Spielfeld& f, const wk::Schritt& s) {
    const auto frei = [](const auto& c) { return c.Visible && c.Enabled; };
    const bool box = s.index >= 0 && s.index < 5 && !f.Timer1;
    switch (s.aktion) {
    case wk::Aktion::Wuerfeln:
        return frei(f.Command17) || frei(f.Command3);
    case wk::Aktion::Ablegen:
        return box && frei(f.w1[s.index]);
    case wk::Aktion::Zuruecknehmen:
        return box && f.Raus[s.index].Visible;
    case wk::Aktion::Eintragen:
        return s.index >= 0 && s.index < 13 && frei(f.Kategorien[s.index]) && !f.Timer1;
    }
    return false;
}

// Every control of the game that a person uses is disabled.
QString freieSteuerelemente(const wk::Form1& f) {
    QString frei;
    for (QWidget* w : f.findChildren<QWidget*>()) {
        const QString n = w->objectName();
        const bool spiel = n.startsWith("w1_") || n.startsWith("Raus_") || n == "Command3" || n == "Command17" ||
                           std::any_of(wk::Kategorien.begin(), wk::Kategorien.end(), [&](const wk::Kategorie& k) { return n == QLatin1String(k.knopf.data(), k.knopf.size()); });
        if (spiel && w->isEnabled()) frei += n + ' ';
    }
    return frei;
}

} // namespace

class TstComputergegner : public MitGanzerTabelle {
    Q_OBJECT

    const wk::Artwork m_artwork{1.0};

private slots:
    void initTestCase() { tabelleRechnen(); }

    // Two people (played here as the strongest plays) and as many computer
    // players as fit: every step one the game takes, at most three rolls a
    // turn, every sheet full when it ends, and only the people in the list.
    void ganzeSpieleNachDenRegeln_data() {
        QTest::addColumn<int>("staerke");
        for (int s = 1; s <= 4; ++s) QTest::addRow("%s", wk::Staerken[s - 1].name.data()) << s;
    }
    void ganzeSpieleNachDenRegeln() {
        QFETCH(int, staerke);
        wk::Spielstand stand;
        stand.Runden = 5;
        stand.spielerAnlegen(2);
        stand.Namen = {"", "Anna", "Bert"};
        QCOMPARE(stand.computerDazu({"A", "B", "C", "D", "E"}, staerke), 4);  // six players at most
        stand.spielStarten();
        wk::Zufall zufall{std::uint64_t(staerke)};
        FakeMeldung meldung;
        FakeEinstellungen einstellungen;
        wk::Highscore highscore(einstellungen, meldung);
        wk::Spiel spiel(stand, zufall, meldung, [&] { highscore.Auswertung(stand); });
        int volleBlaetter = 0;
        meldung.waehrendOffen = [&] {  // each sheet's end
            volleBlaetter += std::none_of(spiel.feld().Kategorien.begin(), spiel.feld().Kategorien.end(), [](const wk::Knopf& k) { return k.Visible; });
        };
        spiel.Form_Load();
        std::vector<wk::Gegner> spieler;
        for (int p = 1; p <= stand.AnzahlSpieler; ++p) {
            spieler.emplace_back(wk::Staerken[stand.istComputer(p) ? staerke - 1 : 3], std::uint64_t(p));
            spieler.back().tabelleSetzen(*m_ganz);
        }
        for (int wuerfe = 0; !spiel.beendet();) {
            const std::optional<wk::Schritt> s = spieler[stand.AktuellerSpieler - 1].naechster(spiel.feld(), stand);
            QVERIFY2(s && erlaubt(spiel.feld(), *s), qPrintable(text(s)));
            wuerfe = s->aktion == wk::Aktion::Eintragen ? 0 : wuerfe + (s->aktion == wk::Aktion::Wuerfeln);
            QVERIFY2(wuerfe <= 3, "a fourth roll");
            wk::ausfuehren(spiel, *s);
        }
        QCOMPARE(volleBlaetter, 6 * 5);
        std::set<std::string> inDerListe;
        for (int platz = 1; platz <= 20; ++platz) {
            const std::string n = std::to_string(platz);
            if (einstellungen.werte["Highscore5/" + n] != "0") inDerListe.insert(einstellungen.werte["Highscore5/Name" + n] + ":" + einstellungen.werte["Highscore5/" + n]);
        }
        QCOMPARE(inDerListe, (std::set<std::string>{"Anna:" + std::to_string(int(stand.Gesamtpunkte[1])), "Bert:" + std::to_string(int(stand.Gesamtpunkte[2]))}));
    }

    // The weaker strengths land near their targets, the strongest near the
    // table's value of a fresh sheet, and each above the one before.
    void staerkenTreffenIhrMittel() {
        double vorher = 0;
        for (const wk::Staerke& s : wk::Staerken) {
            auto haelfte = std::async(std::launch::async, [&] { return wk::probeblaetter(*m_ganz, s, Blaetter / 2, 2); });
            std::vector<double> p = wk::probeblaetter(*m_ganz, s, Blaetter - Blaetter / 2, 1);
            const std::vector<double> q = haelfte.get();
            p.insert(p.end(), q.begin(), q.end());
            QCOMPARE(int(p.size()), Blaetter);
            double summe = 0, quadrate = 0;
            for (double x : p) summe += x, quadrate += x * x;
            const double n = Blaetter, mittel = summe / n, fehler = std::sqrt((quadrate / n - mittel * mittel) / (n - 1));
            const double ziel = s.ziel > 0 ? s.ziel : m_ganz->wert(wk::AlleOffen, 0);
            qInfo("%s: %d sheets, mean %.2f +- %.2f, target %.2f", s.name.data(), Blaetter, mittel, fehler, ziel);
            QVERIFY(std::abs(mittel - ziel) <= (s.ziel > 0 ? 5 : 0) + 3 * fehler);
            QVERIFY(mittel > vorher);
            vorher = mittel;
        }
    }

    // In every state the strongest player meets, its step is the coach's
    // advice, and another generator changes nothing.
    void staerksterFolgtDemTipp() {
        wk::Spielstand stand;
        stand.Runden = Meisterblaetter;
        stand.spielerAnlegen(1);
        stand.spielStarten();
        wk::Zufall zufall(7);
        FakeMeldung meldung;
        wk::Spiel spiel(stand, zufall, meldung, {});
        spiel.Form_Load();
        wk::Gegner meister(wk::Staerken[3], 1), zwilling(wk::Staerken[3], 99);
        meister.tabelleSetzen(*m_ganz);
        zwilling.tabelleSetzen(*m_ganz);
        wk::Berater berater;
        berater.tabelleSetzen(*m_ganz);
        int beraten = 0;
        while (!spiel.beendet()) {
            const std::optional<wk::Schritt> s = meister.naechster(spiel.feld(), stand);
            QCOMPARE(text(zwilling.naechster(spiel.feld(), stand)), text(s));
            const wk::Rat r = berater.rat(spiel.feld(), stand);
            if (r.lage == wk::Ratlage::Rat) {
                ++beraten;
                const bool markiert = std::count(r.ablegen.begin(), r.ablegen.end(), true) + std::count(r.zuruecknehmen.begin(), r.zuruecknehmen.end(), true) > 0;
                const wk::Schritt rat = r.zelle >= 0 ? wk::Schritt{wk::Aktion::Eintragen, r.zelle} : wk::Schritt{wk::Aktion::Wuerfeln};
                if (s->aktion == wk::Aktion::Ablegen) QVERIFY(r.zelle < 0 && r.ablegen[s->index]);
                else if (s->aktion == wk::Aktion::Zuruecknehmen) QVERIFY(r.zelle < 0 && r.zuruecknehmen[s->index]);
                else QVERIFY2(*s == rat && !markiert, qPrintable(text(s) + " / " + QString::fromStdString(r.text)));
            }
            wk::ausfuehren(spiel, *s);
        }
        QVERIFY(beraten > 13 * Meisterblaetter);
    }

    // One person and one computer player, a sheet each, at every pace (and
    // at one switched with T mid-sheet): the computer's sheet needs no input
    // but the messages' OK, the person's controls are locked meanwhile, the
    // category is marked before it is entered (but at "sofort"), the dice are
    // the same at every pace, and the list holds the person only.
    void einSpielInJedemTempo() {
        const QStringList tempi{"zuschauen", "schnell", "sofort", "zuschauen, dann T, T"};
        QStringList blaetter;
        for (const QString& tempo : tempi) {
            Sitzung p(m_artwork, m_tabelle, {{"Computergegner/Anzahl", "1"}, {"Computergegner/Tempo", tempo.section(',', 0, 0).toStdString()}});
            p.gebaut();
            QCOMPARE(p.box("Computergegner")->currentIndex(), 1);
            p.eingabe.antworten = {std::string("Anna")};
            QPointer<wk::Form1> f = p.starten(1);
            QString gesperrt, marken, blatt;
            connect(f, &wk::Form1::vorDemZug, f, [&](const wk::Schritt& zug) {
                if (!p.stand().istComputer(p.stand().AktuellerSpieler)) return;
                if (!f->eingabeGesperrt()) gesperrt += freieSteuerelemente(*f) + "| ";
                const QWidget* marke = f->findChild<QWidget*>(QStringLiteral("ComputerWahl"));
                if (zug.aktion == wk::Aktion::Eintragen) marken += marke->isVisible() && marke->geometry().contains(f->findChild<QWidget*>(QLatin1String(wk::Kategorien[zug.index].knopf.data()))->geometry()) ? '+' : '-';
            });
            p.meldung.waehrendOffen = [&] {
                for (int i = 0; i < 14 && p.meldung.texte.size() == 2; ++i) blatt += QString::fromStdString(f->spiel().feld().Zahlen[i]) + ' ';
            };
            p.menschSpielt();
            const auto* computer = f->findChild<wk::Computerspieler*>();
            QVERIFY(computer && f->eingabeGesperrt() && f->hilfe().endsWith(" T lässt einen Computergegner schneller spielen."));
            QList<wk::Tempo> gewechselt;
            if (tempo.contains('T')) {  // once at once, once after the third entry
                QTest::keyClick(f, Qt::Key_T);
                gewechselt << computer->tempo();
                connect(f, &wk::Form1::nachDemZug, f, [&](const wk::Schritt& zug) {
                    if (zug.aktion == wk::Aktion::Eintragen && p.stand().Eingetragen == 3) {
                        QTimer::singleShot(0, f, [&] {
                            QTest::keyClick(f, Qt::Key_T);
                            gewechselt << computer->tempo();
                        });
                    }
                });
            }
            QTRY_VERIFY_WITH_TIMEOUT(!f, 30000);
            QCOMPARE(gewechselt, tempo.contains('T') ? (QList<wk::Tempo>{wk::Tempo::Schnell, wk::Tempo::Sofort}) : QList<wk::Tempo>{});
            QVERIFY2(gesperrt.isEmpty(), qPrintable(gesperrt));
            const QString erwartet = tempo == "sofort" ? "^-{13}$" : tempo.contains('T') ? "^\\+{3,}-+$" : "^\\+{13}$";
            QVERIFY2(QRegularExpression(erwartet).match(marken).hasMatch(), qPrintable(marken));
            QCOMPARE(p.meldung.texte, (std::vector<std::string>{"\u2068Geselle\u2069 ist mit Würfeln dran.", " Alle Runden wurden absolviert.."}));
            QCOMPARE(QString::fromStdString(p.einstellungen.werte["Highscore1/Name1"] + "|" + p.einstellungen.werte["Highscore1/Name2"]), QStringLiteral("Anna|0"));
            blaetter << blatt;
        }
        QCOMPARE(blaetter, QStringList(4, blaetter[0]));
    }

    // A blind person hears a computer's entries as a person's, neither its
    // rolls nor its dice moved; at "sofort" only its sheet's total. The
    // balance of every sheet is heard at its end.
    void blindeHoerenDenComputer_data() {
        QTest::addColumn<QString>("tempo");
        QTest::newRow("schnell") << "schnell";
        QTest::newRow("sofort") << "sofort";
    }
    void blindeHoerenDenComputer() {
        QFETCH(QString, tempo);
        Sitzung p(m_artwork, m_tabelle, {{"Computergegner/Anzahl", "1"}, {"Computergegner/Tempo", tempo.toStdString()}});
        p.gebaut();
        p.klick(QStringLiteral("Option1_1"));  // 5 sheets: the person's second sheet follows the computer's
        QPointer<wk::Form1> f = p.starten(1);
        Mithoerer ohr;
        ohr.anfangen();
        Mithoerer::bildschirmleser(true);
        p.menschSpielt();
        QTRY_VERIFY(!p.stand().istComputer(p.stand().AktuellerSpieler));
        QTest::qWait(2 * wk::Ansage::WarteMs);
        Mithoerer::stop();
        Mithoerer::bildschirmleser(false);
        const QString gehoert = ohr.ansagen.join(' ');
        const QString computer = gehoert.mid(gehoert.lastIndexOf(QStringLiteral("Gesamt: %1.").arg(QString::fromStdString(wk::zahlAlsText(p.stand().Gesamtpunkte[1])))));
        QVERIFY2(!computer.contains("Gewürfelt") && !computer.contains("Ablage") && !computer.contains("Tisch"), qPrintable(computer));
        const QString summe = QStringLiteral("Blatt von Geselle: %1 Punkte.").arg(QString::fromStdString(wk::zahlAlsText(p.stand().Gesamtpunkte[2])));
        QCOMPARE(computer.count("eingetragen."), tempo == "sofort" ? 0 : 13);
        QCOMPARE(computer.contains(summe), tempo == "sofort");
        for (int spieler : {1, 2}) {  // and each sheet's balance at its end
            const QRegularExpression bilanz(QStringLiteral("Blatt: %1 Punkte\\. Erwartung am Anfang: 332,1\\. Glück: [+-]?[0-9]+,[0-9]\\. "
                                                           "Entscheidungen: -?[0-9]+,[0-9] \\([0-9]+ von [0-9]+ nicht die besten\\)\\.")
                                                .arg(p.stand().Gesamtpunkte[spieler]));
            QVERIFY2(bilanz.match(spieler == 1 ? gehoert : computer).hasMatch(), qPrintable(gehoert));
        }
    }

    // Before the table is there, the computer rolls and then waits, the window
    // answering: the coach says so, keep on top works, the person's keys do
    // nothing; once the table is there it plays on. Closing the window in the
    // middle of its sheet ends the game there.
    void wartetAufDieTabelleUndLaesstSichSchliessen() {
        auto tor = std::make_shared<std::promise<void>>();
        wk::Tipptabelle tabelle([this, offen = tor->get_future().share()](const wk::Verteiler&) {
            offen.wait();
            return std::make_unique<wk::Tabelle>(*m_ganz);
        });
        struct Oeffner {
            std::shared_ptr<std::promise<void>> tor;
            void oeffnen() { try { tor->set_value(); } catch (const std::future_error&) {} }
            ~Oeffner() { oeffnen(); }
        } oeffner{tor};
        Sitzung p(m_artwork, tabelle, {{"Computergegner/Anzahl", "1"}});
        p.gebaut();
        QPointer<wk::Form1> f = p.starten(1);
        p.menschSpielt();
        QTRY_VERIFY(p.stand().Wuerfe == 1 && !f->spiel().feld().Timer1);
        QTest::qWait(50);
        const std::string vorher = f->spiel().feld().Zahlen[14] + f->spiel().feld().w1[0].Tag;
        for (Qt::Key taste : {Qt::Key_1, Qt::Key_Return}) QTest::keyClick(f, taste);
        QTest::keyClick(f, Qt::Key_H);
        QCOMPARE(f->findChild<QLabel*>(QStringLiteral("Tipp"))->text(), QStringLiteral("Der Tipp wird noch berechnet."));
        f->findChild<QAbstractButton*>(QStringLiteral("Check1"))->click();
        QVERIFY(f->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(f->spiel().feld().Zahlen[14] + f->spiel().feld().w1[0].Tag, vorher);
        QCOMPARE(p.stand().Eingetragen, 0);
        // The computer plays at the event loop's pace here: the window is
        // closed from its second entry on, before the sheet can end.
        QObject::connect(f, &wk::Form1::nachDemZug, f, [f, &p] {
            if (p.stand().Eingetragen >= 2) QMetaObject::invokeMethod(f, &QWidget::close, Qt::QueuedConnection);
        });
        oeffner.oeffnen();
        QTRY_VERIFY(!f);
        QVERIFY(p.stand().Eingetragen >= 2 && p.stand().Eingetragen < 13);
        QTest::qWait(20);  // no timer of the closed window fires on
        QVERIFY(!p.einstellungen.werte.count("Highscore1/Name1"));
    }

    // The three boxes as a screen reader and the keyboard reach them, the
    // choice read back as stored (a damaged value as the default), the note
    // when people and computer players would be more than six, and the
    // choice stored when a game starts with it.
    void startfenster_data() {
        QTest::addColumn<QStringList>("gespeichert");  // Anzahl, Staerke, Tempo
        QTest::addColumn<QStringList>("gezeigt");
        QTest::newRow("stored") << QStringList{"3", "4", "sofort"} << QStringList{"3", "Meister", "sofort"};
        QTest::newRow("damaged") << QStringList{"x9", "7", "schneller"} << QStringList{"keiner", "Geselle", "zuschauen"};
        QTest::newRow("none stored") << QStringList{} << QStringList{"keiner", "Geselle", "zuschauen"};
    }
    void startfenster() {
        QFETCH(QStringList, gespeichert);
        QFETCH(QStringList, gezeigt);
        std::map<std::string, std::string> werte;
        for (int i = 0; i < gespeichert.size(); ++i) werte["Computergegner/" + std::string(i == 0 ? "Anzahl" : i == 1 ? "Staerke" : "Tempo")] = gespeichert[i].toStdString();
        Sitzung p(m_artwork, m_tabelle, werte);
        QWidget* fenster = p.anwendung.form2();
        p.gebaut();
        const QList<QComboBox*> boxen{p.box("Computergegner"), p.box("Staerke"), p.box("Tempo")};
        QCOMPARE(boxen[0]->currentText() + boxen[1]->currentText() + boxen[2]->currentText(), gezeigt.join(QString()));
        QStringList namen;  // a combo box's name reaches the desktop through the label bound to it
        for (QComboBox* b : boxen) {
            for (const auto& [label, relation] : QAccessible::queryAccessibleInterface(b)->relations(QAccessible::Label)) namen << label->text(QAccessible::Name);
        }
        QCOMPARE(namen, (QStringList{"Computergegner", "Stärke", "Tempo"}));
        QCOMPARE(boxen[1]->itemText(0) + boxen[1]->itemText(3) + boxen[2]->itemText(1), QStringLiteral("LehrlingMeisterschnell"));
        for (QWidget* w : fenster->findChild<QWidget*>(QStringLiteral("Gegnerwahl"))->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect ort(w->mapTo(fenster, QPoint()), w->size());
            QVERIFY(fenster->rect().contains(ort));
            for (QWidget* anderes : fenster->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (anderes->objectName() != "Gegnerwahl" && !anderes->isWindow()) QVERIFY2(!anderes->geometry().intersects(ort), qPrintable(anderes->objectName()));
            }
        }
        // Tab after Exit, Alt+C, Alt+K and Alt+T: the arrows choose.
        QApplication::setActiveWindow(fenster);
        QVERIFY(QTest::qWaitForWindowActive(fenster));
        fenster->findChild<QWidget*>(QStringLiteral("Command3"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), boxen[0]);
        QTest::keyClick(fenster, Qt::Key_C, Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        for (auto [taste, box] : {std::pair{Qt::Key_K, boxen[1]}, std::pair{Qt::Key_T, boxen[2]}}) {
            QTest::keyClick(fenster, taste, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), box);
            QTest::keyClick(box, Qt::Key_Up);
        }
        const wk::Gegnerauswahl gewaehlt{boxen[0]->currentIndex(), boxen[1]->currentIndex() + 1, wk::Tempo(boxen[2]->currentIndex())};
        QVERIFY(gewaehlt.anzahl > 0);
        // Five people: only one computer player fits, named by its strength.
        auto* hinweis = fenster->findChild<QLabel*>(QStringLiteral("Gegnerhinweis"));
        QVERIFY(hinweis->isHidden());
        QCOMPARE(p.einstellungen.schreibvorgaenge, 0);
        const int vorher = gewaehlt.anzahl;
        p.eingabe.antworten.assign(5, std::nullopt);
        p.klick(QStringLiteral("Option2_4"));
        QCOMPARE(hinweis->isVisible(), vorher > 1);
        if (vorher > 1) QCOMPARE(hinweis->text(), QStringLiteral("Nur 1 Computergegner passt dazu: höchstens 6 Spieler."));
        p.klick(QStringLiteral("Command1"));
        QCOMPARE(p.stand().AnzahlSpieler, 6);
        QCOMPARE(QString::fromStdString(p.stand().Namen[6]), QString::fromUtf8(wk::Staerken[gewaehlt.staerke - 1].name.data()));
        QCOMPARE(p.stand().Computer, (std::vector<int>{0, 0, 0, 0, 0, 0, gewaehlt.staerke}));
        QCOMPARE(QString::fromStdString(p.einstellungen.werte["Computergegner/Anzahl"] + p.einstellungen.werte["Computergegner/Staerke"] + p.einstellungen.werte["Computergegner/Tempo"]),
                 QStringLiteral("%1%2%3").arg(gewaehlt.anzahl).arg(gewaehlt.staerke).arg(QString::fromUtf8(wk::TempoNamen[int(gewaehlt.tempo)].data())));
        QCOMPARE(p.einstellungen.schreibvorgaenge, 3);  // the section of its own, nothing else
    }
};

QTEST_MAIN(TstComputergegner)
#include "tst_computergegner.moc"
