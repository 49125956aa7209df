#include "fakes/fakedienste.h"
#include "fakes/fakeeinstellungen.h"
#include "fakes/fakefensteroben.h"
#include "fakes/fakemeldung.h"
#include "game/wertung.h"
#include "game/zahltext.h"
#include "ui/anwendung.h"
#include "ui/artwork.h"
#include "ui/fenster.h"
#include "ui/frmabout.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

// The whole program with fake desktop services.
struct Programm {
    Programm() : anwendung({meldung, eingabe, links, fensterOben, einstellungen}, *artwork) {}

    template <typename T = QWidget>
    T* in(QWidget* fenster, const QString& name) const {
        T* w = fenster ? fenster->findChild<T*>(name) : nullptr;
        if (!w) {
            qWarning("no control %s", qPrintable(name));
        }
        return w;
    }

    static void klick(QWidget* w) {
        QVERIFY(w);
        QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(w->objectName()));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }

    void klick2(const QString& name) { klick(in(anwendung.form2(), name)); }
    void klick1(const QString& name) { klick(in(anwendung.form1(), name)); }

    // Plays the open game window to its end through clicks, with the
    // animation timer running as fast as it can.
    void spielZuEnde() {
        int zuege = 0;
        while (anwendung.form1() && !anwendung.form1()->spiel().beendet() && zuege < 2000) {
            Form1Zug();
            ++zuege;
        }
    }

    void Form1Zug() {
        wk::Form1* f = anwendung.form1();
        in<QTimer>(f, QStringLiteral("Timer1"))->setInterval(0);
        const wk::Spielfeld& feld = f->spiel().feld();
        klick1(feld.Command17.Visible ? QStringLiteral("Command17") : QStringLiteral("Command3"));
        QTRY_VERIFY(!f->spiel().feld().Timer1);
        for (const wk::Kategorie& k : wk::Kategorien) {
            if (feld.Kategorien[k.zelle].Visible) {
                klick1(QString::fromUtf8(k.knopf.data(), k.knopf.size()));
                return;
            }
        }
    }

    static inline std::unique_ptr<wk::Artwork> artwork;
    FakeMeldung meldung;
    FakeEingabe eingabe;
    FakeLinks links;
    FakeFensterOben fensterOben;
    FakeEinstellungen einstellungen;
    wk::Anwendung anwendung;
};

QString text(QWidget* fenster, const QString& name) {
    auto* label = fenster->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<missing>");
}

void aktivieren(QWidget* fenster) {
    QApplication::setActiveWindow(fenster);
    QVERIFY(QTest::qWaitForWindowActive(fenster));
}

} // namespace

class TstAnwendung : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Programm::artwork = std::make_unique<wk::Artwork>(1.0); }
    void cleanupTestCase() { Programm::artwork.reset(); }

    void startfensterNachDemStart() {
        Programm p;
        p.einstellungen.vorbelegen("Highscore1", "1", "245");
        p.einstellungen.vorbelegen("Highscore1", "Name1", "Anna");
        p.anwendung.starten();
        QWidget* f = p.anwendung.form2();
        QVERIFY(f && f->isVisible());
        QVERIFY(!p.anwendung.form1());
        QCOMPARE(f->windowTitle(), QStringLiteral("Highscore"));
        QCOMPARE(f->size(), QSize(641, 500));
        QCOMPARE(text(f, "Label5"), QStringLiteral("Version 1.0  Beta"));
        QCOMPARE(text(f, "Label4"), QStringLiteral("Highscore bei 1 Rundenspiel."));
        QCOMPARE(text(f, "Label3_19"), QStringLiteral("Platz 20"));
        QCOMPARE(text(f, "Vorname_0"), QStringLiteral("Anna"));
        QCOMPARE(text(f, "Punkt_0"), QStringLiteral("245 Punkte"));
        QCOMPARE(text(f, "Vorname_1"), QStringLiteral("0"));
        QCOMPARE(text(f, "Punkt_1"), QStringLiteral("0 Punkte"));
        QVERIFY(p.in<QRadioButton>(f, "Option1_0")->isChecked());
        for (int i = 0; i < 6; ++i) {
            QVERIFY(!p.in<QRadioButton>(f, QStringLiteral("Option2_%1").arg(i))->isChecked());
        }
        QVERIFY(!p.in(f, "Command1")->isVisible());
        QCOMPARE(p.anwendung.stand().Runden, 1);
        QCOMPARE(p.in(f, "Vorname_4")->accessibleName(), QStringLiteral("Name Platz 5"));
        QCOMPARE(p.in(f, "Punkt_0")->accessibleDescription(), QStringLiteral("245 Punkte"));

        // A list button shows the bare number.
        p.klick2("Command2_0");
        QCOMPARE(text(f, "Punkt_0"), QStringLiteral("245"));
        p.klick2("Command2_2");
        QCOMPARE(text(f, "Label4"), QStringLiteral("Highscore bei 10 Rundenspiel."));
    }

    void bestenlisteZeigtNamenWoertlich_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("markup") << "<b>x</b>";
        QTest::newRow("image") << "<img src=x>";
        QTest::newRow("10000 characters") << QString(10000, QLatin1Char('W'));
        QTest::newRow("line break") << "Zeile\nzwei";
        QTest::newRow("right to left") << QString::fromUtf8("\u0645\u0631\u062D\u0628\u0627");
    }
    void bestenlisteZeigtNamenWoertlich() {
        QFETCH(QString, name);
        Programm p;
        p.einstellungen.vorbelegen("Highscore1", "1", "99");
        p.einstellungen.vorbelegen("Highscore1", "Name1", name.toStdString());
        p.anwendung.starten();
        auto* label = p.in<QLabel>(p.anwendung.form2(), "Vorname_0");
        const QRect ort(100, 77, 161, 16);
        QCOMPARE(label->geometry(), ort);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->accessibleDescription(), name);
        QVERIFY(!label->text().contains(QLatin1Char('\n')));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        QString gezeigt = label->text();
        if (gezeigt.endsWith(QChar(0x2026))) {
            gezeigt.chop(1);
            QCOMPARE(label->toolTip(), name);
        }
        QVERIFY(wk::einzeilig(name).startsWith(gezeigt));
    }

    void spielerwahlFragtJedenNamen() {
        Programm p;
        p.anwendung.starten();
        p.eingabe.antworten = {std::string("Anna"), std::nullopt};
        p.klick2("Option2_1");
        QCOMPARE(p.eingabe.fragenGestellt.size(), std::size_t{2});
        QCOMPARE(p.eingabe.fragenGestellt[1].prompt, std::string("Geben Sie Ihren Namen ein Spieler 2"));
        QCOMPARE(p.eingabe.fragenGestellt[1].vorgabe, std::string("Spieler Name 2"));
        QCOMPARE(p.anwendung.stand().Namen, (std::vector<std::string>{"", "Anna", ""}));
        QVERIFY(p.in(p.anwendung.form2(), "Command1")->isVisible());

        // A new choice asks everybody again and forgets the earlier names.
        p.klick2("Option2_3");
        QCOMPARE(p.eingabe.fragenGestellt.size(), std::size_t{6});
        QCOMPARE(p.anwendung.stand().AnzahlSpieler, 4);
        QCOMPARE(p.anwendung.stand().Namen[1], std::string("Spieler Name 1"));

        // The game length changes only Runden; the names stay.
        p.klick2("Option1_3");
        QCOMPARE(p.anwendung.stand().Runden, 25);
        p.klick2("Command2_2");
        QCOMPARE(p.anwendung.stand().Runden, 25);
        QCOMPARE(p.anwendung.stand().Namen[4], std::string("Spieler Name 4"));
    }

    void einKurzesSpielVomStartBisZumNeuenStartfenster() {
        Programm p;
        p.anwendung.starten();
        QPointer<QWidget> erstesStartfenster = p.anwendung.form2();
        p.eingabe.antworten = {std::string("  Anna  ")};
        p.klick2("Option2_0");
        p.klick2("Command1");
        QVERIFY(p.anwendung.form1());
        QVERIFY(p.anwendung.form1()->isVisible());
        QTRY_VERIFY(!erstesStartfenster);  // closed and destroyed
        QCOMPARE(text(p.anwendung.form1(), "Label3"), QStringLiteral("  Anna  "));

        QPointer<QWidget> spielfenster = p.anwendung.form1();
        p.spielZuEnde();
        QCOMPARE(p.meldung.texte.back(), std::string(" Alle Runden wurden absolviert.."));
        QTRY_VERIFY(!spielfenster);
        QWidget* neu = p.anwendung.form2();
        QVERIFY(neu && neu->isVisible());
        QVERIFY(p.in<QRadioButton>(neu, "Option1_0")->isChecked());
        QVERIFY(!p.in(neu, "Command1")->isVisible());

        const double punkte = p.anwendung.stand().Gesamtpunkte[1];
        QVERIFY(punkte > 0);
        QCOMPARE(p.einstellungen.lesen("Highscore1", "1", "?"), wk::zahlAlsText(punkte));
        QCOMPARE(p.einstellungen.lesen("Highscore1", "Name1", "?"), std::string("Anna"));
        QCOMPARE(text(neu, "Punkt_0"), QString::fromStdString(wk::zahlAlsText(punkte) + " Punkte"));
        QCOMPARE(text(neu, "Vorname_0"), QStringLiteral("Anna"));
    }

    void exitBeendetSofortOhneZuSchreiben() {
        Programm p;
        p.anwendung.starten();
        QSignalSpy ende(&p.anwendung, &wk::Anwendung::beendet);
        p.klick2("Option2_1");
        aktivieren(p.anwendung.form2());
        QTest::keyClick(p.anwendung.form2(), Qt::Key_E, Qt::AltModifier);
        QTRY_COMPARE(ende.count(), 1);  // an access key clicks after a short animation
        QTRY_VERIFY(!p.anwendung.form2());
        QVERIFY(p.einstellungen.protokoll().empty());
    }

    void altSStartetDasSpiel() {
        Programm p;
        p.anwendung.starten();
        p.klick2("Option2_0");
        aktivieren(p.anwendung.form2());
        QTest::keyClick(p.anwendung.form2(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(p.anwendung.form1());
    }

    void startfensterGehtMitDerTastatur() {
        Programm p;
        p.anwendung.starten();
        QWidget* f = p.anwendung.form2();
        aktivieren(f);
        p.in(f, "Command2_0")->setFocus();
        QStringList folge{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            folge << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(folge, (QStringList{"Command2_0", "Command2_1", "Command2_2", "Command2_3", "Option2_0",
                                     "Option1_0", "Label2_0", "Label2_1", "Label1"}));

        // Arrow keys move through an option group and select.
        p.in(f, "Option1_0")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Option1_1"));
        QCOMPARE(p.anwendung.stand().Runden, 5);
        // With no player option chosen yet, the arrows move and Space chooses.
        p.in(f, "Option2_0")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(p.anwendung.stand().AnzahlSpieler, 2);
        QCOMPARE(p.eingabe.fragenGestellt.size(), std::size_t{2});

        // A focused link opens with Return.
        p.in(f, "Label1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(p.links.geoeffnet.size(), std::size_t{1});
    }

    void loeschenMeldetSichUndSchreibtAlleListen() {
        Programm p;
        p.anwendung.starten();
        p.klick2("Image3");
        QCOMPARE(p.meldung.texte, std::vector<std::string>{" Highscore wird gelöscht."});
        QCOMPARE(p.einstellungen.protokoll().size(), std::size_t{4 * 40});
        QCOMPARE(p.einstellungen.lesen("Highscore25", "Name20", "?"), std::string(".."));
        // The list on screen stays until it is shown again.
        QCOMPARE(text(p.anwendung.form2(), "Vorname_0"), QStringLiteral("0"));
    }

    void linksGehenAnDenDesktop() {
        Programm p;
        p.anwendung.starten();
        p.klick2("Label2_0");
        p.klick2("Label2_1");
        p.klick2("Label1");
        QCOMPARE(p.links.geoeffnet,
                 (std::vector<std::string>{"https://www.orwen.example/", "https://orwen.example.net/",
                                           "mailto:orwen@example.org?Subject=Hallo&Body=Hallo Orwen"}));
        QCOMPARE(p.in(p.anwendung.form2(), "Label2_1")->toolTip(), QStringLiteral("Homepage von Orwen"));
        QCOMPARE(p.in(p.anwendung.form2(), "Label1")->toolTip(), QStringLiteral("Email an Orwen"));
    }

    void aboutIstEinDialogDerNichtBlockiert() {
        Programm p;
        p.anwendung.starten();
        auto* form2 = qobject_cast<wk::Form2*>(p.anwendung.form2());
        p.klick2("Label5");
        QPointer<wk::FrmAbout> about = form2->about();
        QVERIFY(about && about->isVisible());
        QVERIFY(!about->isModal());
        p.klick2("Label5");
        QCOMPARE(form2->about(), about.data());
        QCOMPARE(form2->findChildren<wk::FrmAbout*>().size(), 1);
        QCOMPARE(about->windowTitle(), QStringLiteral("Info Wurfkrone"));
        QCOMPARE(about->size(), QSize(394, 169));
        QCOMPARE(text(about, "Label6"), QStringLiteral("version: 1.0.0"));
        QCOMPARE(text(about, "Label6"), QStringLiteral("version: ") + QStringLiteral(WK_VERSION));

        p.klick(p.in(about, "Label4"));
        QCOMPARE(p.links.geoeffnet, std::vector<std::string>{"https://www.orwen.example/"});

        p.klick(p.in(about, "cmdOK"));
        QTRY_VERIFY(!about);
        QVERIFY(form2->isVisible());
    }
};

QTEST_MAIN(TstAnwendung)
#include "tst_anwendung.moc"
