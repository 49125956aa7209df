// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// The program's windows with fake desktop services: the start window, the
// game window and the way from one to the other.
#include "game/wertung.h"
#include "game/zahltext.h"
#include "platform/klartext.h"
#include "programm.h"
#include "ui/frmabout.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextDocument>
#include <QToolTip>

namespace {

// What a key and a click on the same control do to the game.
constexpr int Keine = 0, Irgendeine = 1, SeinWuerfel = 2;  // SeinWuerfel: exactly its die moves

struct Sitzung : Programm {
    using Programm::Programm;

    QString text(QWidget* fenster, const QString& name) const { return in<QLabel>(fenster, name)->text(); }
    void klick1(const QString& name) const { klick(in(anwendung.form1(), name)); }
    void taste1(int taste) const { QTest::keyClick(anwendung.form1(), static_cast<Qt::Key>(taste)); }
    void wurfAbwarten() const {  // the roll animation, as fast as the event loop allows
        in<QTimer>(anwendung.form1(), QStringLiteral("Timer1"))->setInterval(0);
        QTRY_VERIFY(!anwendung.form1()->spiel().feld().Timer1);
    }
    void wuerfeln() const {
        taste1(Qt::Key_Return);
        wurfAbwarten();
    }
    QString zustand() const {  // everything a player can see of the game
        QString z = QString::number(meldung.texte.size());
        for (QWidget* w : anwendung.form1()->findChildren<QWidget*>()) {
            z += QStringLiteral("|%1%2%3").arg(w->objectName()).arg(w->isVisible()).arg(w->accessibleDescription());
        }
        return z;
    }
    QStringList boxen() const {  // what table boxes 0-4, then tray boxes 0-4 show; "-" when hidden
        QStringList b;
        for (int i = 0; i < 10; ++i) {
            QWidget* w = in(anwendung.form1(), QStringLiteral("%1_%2").arg(i < 5 ? "w1" : "Raus").arg(i % 5));
            b << (w->isVisible() ? w->accessibleDescription() : QStringLiteral("-"));
        }
        return b;
    }
};

// What the tooltip of `w` shows while the mouse rests on it, read as the
// toolkit's tooltip label reads it (rich text when it looks like markup);
// "<image>" for each picture it would load.
QString gezeigterTooltip(QWidget* w) {
    const QPoint mitte = w->rect().center();
    QHelpEvent hilfe(QEvent::ToolTip, mitte, w->mapToGlobal(mitte));
    QApplication::sendEvent(w, &hilfe);
    const QString tipp = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    QTextDocument dokument;
    Qt::mightBeRichText(tipp) ? dokument.setHtml(tipp) : dokument.setPlainText(tipp);
    return dokument.toRawText().replace(QChar::ObjectReplacementCharacter, QStringLiteral("<image>"))
        .replace(QChar::ParagraphSeparator, '\n').replace(QChar::LineSeparator, '\n').replace(QChar::Nbsp, ' ');
}

// A player's text as the program places it: between U+2068 and U+2069.
QString isoliert(const QString& name) { return QChar(0x2068) + name + QChar(0x2069); }

// `text` is shown as plain text in one line, elided at the right when it does
// not fit, with its isolate closed after the "…"; the full text is then the
// tooltip, and always the accessible description.
void zeigtWoertlich(QLabel* label, const QString& text) {
    QVERIFY(label);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->accessibleDescription(), text);
    QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
    QString gezeigt = label->text();
    const bool gekuerzt = gezeigt.endsWith(QString(QChar(0x2026)) + QChar(0x2069));
    if (gekuerzt) {
        gezeigt.chop(2);
        QCOMPARE(gezeigterTooltip(label), text);
    } else {
        QCOMPARE(label->toolTip(), QString());
    }
    QString zeile = text;
    for (const QChar umbruch : {QChar(u'\t'), QChar(u'\n'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)}) zeile.replace(umbruch, ' ');
    QCOMPARE(zeile.left(gezeigt.size()), gezeigt);
}

void aktivieren(QWidget* fenster) {
    QApplication::setActiveWindow(fenster);
    QVERIFY(QTest::qWaitForWindowActive(fenster));
}

} // namespace

class TstAnwendung : public QObject {
    Q_OBJECT

private slots:
    // On the start window's list and in the game window's player and status lines.
    void namenErscheinenWoertlich_data() {
        QTest::addColumn<QString>("name");
        const QString lang(300, QLatin1Char('W'));
        QTest::newRow("markup, cut short") << "<b>x</b>" + lang;
        QTest::newRow("image, cut short") << "<img src=\"x.png\">" + lang;
        QTest::newRow("entity, cut short") << "&amp;" + lang;
        QTest::newRow("blanks, tab and line break, cut short") << "  Anna\t\n  B" + lang;
        QTest::newRow("byte-order marks") << QString::fromUtf8("\uFEFF\uFEFFAnna");
        QTest::newRow("line and paragraph separators") << QString::fromUtf8("Anna\u2028Berta\u2029Carl");
        QTest::newRow("a right-to-left override, cut short") << QString::fromUtf8("\u202EAnna") + lang;
    }
    void namenErscheinenWoertlich() {
        QFETCH(QString, name);
        Sitzung p(m_artwork, {{"Highscore1/1", "245"}, {"Highscore1/Name1", name.toStdString()}});
        zeigtWoertlich(p.in<QLabel>(p.anwendung.form2(), QStringLiteral("Vorname_0")), isoliert(name));
        p.eingabe.antworten = {name.toStdString(), std::string("Bert")};
        wk::Form1* spiel = p.spielStarten(2);
        for (const char* label : {"Label2_0", "Label3"}) zeigtWoertlich(p.in<QLabel>(spiel, QLatin1String(label)), isoliert(name));
    }

    // A name longer than any the input box takes is shown, described and
    // measured by its first characters only.
    void einRiesigerNameWirdNurAmAnfangGemessen() {
        const QString name = QStringLiteral("Anna") + QString(1 << 20, QLatin1Char('W'));
        Sitzung p(m_artwork, {{"Highscore1/1", "245"}, {"Highscore1/Name1", name.toStdString()}});
        auto* label = p.in<QLabel>(p.anwendung.form2(), QStringLiteral("Vorname_0"));
        QVERIFY(label->text().startsWith(QChar(0x2068) + QStringLiteral("AnnaW")) && label->text().endsWith(QString(QChar(0x2026)) + QChar(0x2069)));
        for (const QString& voll : {label->accessibleDescription(), gezeigterTooltip(label)}) {
            QVERIFY(voll.size() <= wk::LaengsterText + 2 && voll.startsWith(isoliert(name).left(wk::LaengsterText)));
            QVERIFY(voll.endsWith(QString(QChar(0x2069)) + QChar(0x2026)));
        }
    }

    // The game window keeps its size and shows the players' lines only. The
    // first roll takes 28 ticks, five per interval of 200 ms, and leaves every
    // die telling its value. "Fenster immer Oben" keeps the window above the
    // others, where it is. After the last sheet a fresh start window shows the
    // result, and Alt+E closes it at once.
    void einSpielVomStartBisZumNeuenStartfenster() {
        Sitzung p(m_artwork);
        p.einstellungen.zurueckhalten = true;  // the store enters the game when the test lets it
        QPointer<QWidget> startfenster = p.anwendung.form2();
        p.eingabe.antworten = {std::string("  Anna  ")};
        QPointer<wk::Form1> spiel = p.spielStarten();
        QTRY_VERIFY(spiel && spiel->isVisible() && !startfenster);  // the start window closed and destroyed
        QCOMPARE(spiel->minimumSize(), spiel->maximumSize());
        QString sichtbar;
        for (const char* name : {"Label2_0", "Label2_1", "Command17", "Command3", "Raus_4"}) sichtbar += p.in(spiel, QLatin1String(name))->isVisible() ? '1' : '0';
        QCOMPARE(sichtbar, QStringLiteral("10100"));
        auto* timer = p.in<QTimer>(spiel, QStringLiteral("Timer1"));
        const int intervall = timer->interval();
        QSignalSpy intervalle(timer, &QTimer::timeout);
        p.klick1(QStringLiteral("Command17"));
        QVERIFY(!p.in(spiel, QStringLiteral("w1_0"))->isEnabled() && !p.in(spiel, QStringLiteral("Command5"))->isEnabled());
        p.wurfAbwarten();
        QCOMPARE(intervall * intervalle.count(), 1200);
        QStringList werte;
        for (const wk::Wuerfelbox& box : spiel->spiel().feld().w1) werte << QString::fromStdString(box.Tag);
        QCOMPARE(p.boxen().mid(0, 5), werte);
        aktivieren(spiel);
        const QRect lage = spiel->geometry();
        for (bool oben : {true, false}) {
            p.klick1(QStringLiteral("Check1"));
            QCOMPARE(bool(spiel->windowHandle()->flags() & Qt::WindowStaysOnTopHint), oben);
            QVERIFY(spiel->isVisible());
            QCOMPARE(spiel->geometry(), lage);
        }
        // Each turn: one roll, then Tab takes the focus to the first open
        // category in sheet order and Space enters it. It scores what its
        // tooltip said; the last entry is on screen during the closing message.
        QString zahl, punkte;
        p.meldung.waehrendOffen = [&] { punkte = p.text(spiel, zahl); };
        for (int zelle = 0; zelle < 13; ++zelle) {
            if (zelle > 0) p.wuerfeln();
            spiel->setFocus();
            QTest::keyClick(spiel, Qt::Key_Tab);
            auto* knopf = qobject_cast<QPushButton*>(QApplication::focusWidget());
            QCOMPARE(knopf ? knopf->objectName() : QString(), QString::fromUtf8(wk::Kategorien[zelle].knopf.data(), wk::Kategorien[zelle].knopf.size()));
            const QString vorschau = knopf->toolTip();
            QCOMPARE(QAccessible::queryAccessibleInterface(knopf)->text(QAccessible::Description), vorschau);
            zahl = QStringLiteral("Zahlen_%1").arg(zelle);
            QTest::keyClick(knopf, Qt::Key_Space);
            if (zelle < 12) punkte = p.text(spiel, zahl);
            QCOMPARE(vorschau, QStringLiteral("Würde %1 %2 bringen").arg(punkte, punkte == "1" ? "Punkt" : "Punkte"));
        }
        QTRY_VERIFY(!spiel);
        QWidget* neu = p.anwendung.form2();
        QVERIFY(neu && neu->isVisible() && !p.in(neu, QStringLiteral("Command1"))->isVisible());
        // The result not entered yet, the list shows the store as it is; the
        // player hears once that the result waits; it shows once entered.
        QCOMPARE(p.text(neu, "Vorname_0") + ":" + p.text(neu, "Punkt_0"), QStringLiteral("\u20680\u2069:0 Punkte"));
        const std::size_t gesagt = p.meldung.texte.size();
        p.meldung.waehrendOffen = nullptr;
        p.einstellungen.verzoegern(true);
        p.einstellungen.verzoegern(true);
        QCOMPARE(p.meldung.texte.size(), gesagt + 1);
        QVERIFY(p.meldung.texte.back().starts_with("Die Ergebnisse konnten noch nicht gespeichert werden.\nSie sind vorgemerkt"));
        p.einstellungen.freigeben();
        QCOMPARE(p.text(neu, "Vorname_0") + ":" + p.text(neu, "Punkt_0"),
                 isoliert("Anna") + QStringLiteral(":%1 Punkte").arg(QString::fromStdString(wk::zahlAlsText(p.anwendung.stand().Gesamtpunkte[1]))));
        const int geschrieben = p.einstellungen.schreibvorgaenge;
        QSignalSpy ende(&p.anwendung, &wk::Anwendung::beendet);
        aktivieren(neu);
        QTest::keyClick(neu, Qt::Key_E, Qt::AltModifier);  // Alt+E ends the program at once, writing nothing
        QTRY_VERIFY(ende.count() == 1 && !p.anwendung.form2() && !p.anwendung.form1());
        QCOMPARE(p.einstellungen.schreibvorgaenge, geschrieben);
    }

    void startfensterMitDerTastaturUndNamensfragen() {
        Sitzung p(m_artwork);
        QWidget* f = p.anwendung.form2();
        aktivieren(f);
        p.in(f, QStringLiteral("Command2_0"))->setFocus();
        QStringList folge;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            folge << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(folge, (QStringList{"Command2_1", "Command2_2", "Command2_3", "Option2_0", "Option1_0", "Label2_0", "Label2_1", "Label1"}));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // a focused link opens with Return
        QCOMPARE(p.links.geoeffnet.size(), std::size_t{1});
        // With no player option chosen yet, the arrows move and Space chooses; every name is asked for.
        p.eingabe.antworten = {std::string("Anna"), std::nullopt};
        p.in(f, QStringLiteral("Option2_0"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(p.eingabe.gefragt, (std::vector<std::string>{"Geben Sie Ihren Namen ein Spieler 1|Spieler Name 1",
                                                               "Geben Sie Ihren Namen ein Spieler 2|Spieler Name 2"}));
        QCOMPARE(p.anwendung.stand().Namen, (std::vector<std::string>{"", "Anna", ""}));  // Cancel gives an empty name
        p.klick2(QStringLiteral("Option2_3"));  // a new choice asks everybody again
        p.klick2(QStringLiteral("Option1_3"));  // the game length changes only Runden
        QCOMPARE(p.eingabe.gefragt.size(), std::size_t{6});
        QCOMPARE(p.anwendung.stand().Runden, 25);
        QCOMPARE(p.anwendung.stand().Namen[1] + "|" + p.anwendung.stand().Namen[4], std::string("Spieler Name 1|Spieler Name 4"));
        QTest::keyClick(f, Qt::Key_S, Qt::AltModifier);  // Alt+S on the start button, shown once players are chosen
        QTRY_VERIFY(p.anwendung.form1() && !p.anwendung.form2());
    }

    // Loading shows the list of one Runde with " Punkte" and writes nothing;
    // a list button shows its list with bare numbers; clearing leaves the list
    // on screen until it is shown again. The About dialog opens once, not
    // modal. The links open their addresses.
    void startfensterListenLinksUndAbout() {
        Sitzung p(m_artwork, {{"Highscore1/1", "245"}, {"Highscore10/1", "300"}});
        auto* f = qobject_cast<wk::Form2*>(p.anwendung.form2());
        QCOMPARE(p.text(f, "Label4"), QStringLiteral("Highscore bei 1 Rundenspiel."));
        QCOMPARE(p.text(f, "Punkt_0") + "|" + p.text(f, "Punkt_1"), QStringLiteral("245 Punkte|0 Punkte"));
        QVERIFY(p.in<QRadioButton>(f, "Option1_0")->isChecked() && !p.in(f, "Command1")->isVisible());
        QCOMPARE(p.einstellungen.schreibvorgaenge, 0);
        p.klick2(QStringLiteral("Command2_2"));
        QCOMPARE(p.text(f, "Label4") + "|" + p.text(f, "Punkt_0"), QStringLiteral("Highscore bei 10 Rundenspiel.|300"));
        p.klick2(QStringLiteral("Image3"));
        QCOMPARE(p.meldung.texte, std::vector<std::string>{" Highscore wird gelöscht."});
        QCOMPARE(p.text(f, "Punkt_0"), QStringLiteral("300"));
        p.klick2(QStringLiteral("Label5"));
        QPointer<wk::FrmAbout> about = f->about();
        QVERIFY(about && about->isVisible() && !about->isModal());
        p.klick2(QStringLiteral("Label5"));  // no second About dialog
        QCOMPARE(f->findChildren<wk::FrmAbout*>(), QList<wk::FrmAbout*>{about.data()});
        QCOMPARE(p.text(about, "Label6"), QStringLiteral("version: " WK_VERSION));
        p.klick(p.in(about, QStringLiteral("Label4")));
        for (const char* link : {"Label2_0", "Label2_1", "Label1"}) p.klick2(QLatin1String(link));
        QCOMPARE(p.links.geoeffnet, (std::vector<std::string>{"https://www.orwen.example/", "https://www.orwen.example/", "https://orwen.example.net/",
                                                               "mailto:orwen@example.org?Subject=Hallo&Body=Hallo Orwen"}));
        p.klick(p.in(about, QStringLiteral("cmdOK")));
        QTRY_VERIFY(!about);
        QVERIFY(f->isVisible());
    }

    // A key acts as a click on its control, and not at all when that is hidden
    // or disabled. A table key (1-5) or click puts exactly its own die into the
    // first empty tray box; a tray key (A-E) or click takes exactly that box's
    // die back to the first empty table box. Nothing else moves.
    void tastenWirkenWieKlicks_data() {
        QTest::addColumn<int>("wuerfe");        // rolls made before
        QTest::addColumn<QString>("beiseite");  // then the table boxes clicked, in this order
        QTest::addColumn<int>("taste");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<int>("wirkung");
        QTest::newRow("Return rolls") << 0 << "" << int(Qt::Key_Return) << "Command17" << Irgendeine;
        QTest::newRow("R rolls again") << 1 << "" << int(Qt::Key_R) << "Command17" << Irgendeine;
        QTest::newRow("1 before any roll is refused") << 0 << "" << int(Qt::Key_1) << "w1_0" << Irgendeine;
        QTest::newRow("E on an empty tray box") << 1 << "01" << int(Qt::Key_E) << "Raus_4" << Keine;
        QTest::newRow("2 on a die in the tray") << 1 << "01" << int(Qt::Key_2) << "w1_1" << Keine;
        QTest::newRow("Return after the third roll") << 3 << "" << int(Qt::Key_Return) << "Command17" << Keine;
        // Before a table key one other die lies in the tray; before a tray key all five do, the last one put aside first.
        for (int i = 0; i < 5; ++i) {
            QTest::addRow("%c: its die to the tray", '1' + i) << 1 << QString::number((i + 1) % 5) << Qt::Key_1 + i << QStringLiteral("w1_%1").arg(i) << SeinWuerfel;
            QTest::addRow("%c: its die back to the table", 'A' + i) << 1 << "43210" << Qt::Key_A + i << QStringLiteral("Raus_%1").arg(i) << SeinWuerfel;
        }
    }
    void tastenWirkenWieKlicks() {
        QFETCH(int, wuerfe);
        QFETCH(QString, beiseite);
        QFETCH(int, taste);
        QFETCH(QString, ziel);
        QFETCH(int, wirkung);
        Sitzung mitMaus(m_artwork), mitTaste(m_artwork);
        for (Sitzung* p : {&mitMaus, &mitTaste}) {
            p->spielStarten();
            for (int wurf = 0; wurf < wuerfe; ++wurf) p->wuerfeln();
            for (QChar box : beiseite) p->klick1(QStringLiteral("w1_") + box);
        }
        const QString anfang = mitMaus.zustand();
        QStringList boxen = mitMaus.boxen();
        QWidget* w = mitMaus.in(mitMaus.anwendung.form1(), ziel);
        if (w->isVisible() && w->isEnabled()) mitMaus.klick(w);
        mitTaste.taste1(taste);
        mitMaus.wurfAbwarten();
        mitTaste.wurfAbwarten();
        QCOMPARE(mitTaste.zustand(), mitMaus.zustand());
        QCOMPARE(mitTaste.zustand() == anfang, wirkung == Keine);
        if (wirkung != SeinWuerfel) return;
        const int von = (ziel.startsWith("Raus") ? 5 : 0) + ziel.back().digitValue(), nach = boxen.indexOf("-", von < 5 ? 5 : 0);
        QVERIFY(boxen[von] != QLatin1String("-") && nach >= 0 && nach / 5 != von / 5);
        boxen.swapItemsAt(von, nach);
        QCOMPARE(mitTaste.boxen(), boxen);
    }

private:
    wk::Artwork m_artwork{1.0};
};

QTEST_MAIN(TstAnwendung)
#include "tst_anwendung.moc"
