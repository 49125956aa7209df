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
    T* in(QWidget* fenster, const QString& name) const { return fenster ? fenster->findChild<T*>(name) : nullptr; }

    static void klick(QWidget* w) {
        QVERIFY(w);
        QVERIFY2(w->isVisible() && w->isEnabled(), qPrintable(w->objectName()));
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }

    void klick2(const QString& name) { klick(in(anwendung.form2(), name)); }
    void klick1(const QString& name) { klick(in(anwendung.form1(), name)); }

    // Plays the open game to its end through clicks: one roll, then the first open category.
    void spielZuEnde() {
        for (int zug = 0; zug < 2000 && anwendung.form1() && !anwendung.form1()->spiel().beendet(); ++zug) {
            wk::Form1* f = anwendung.form1();
            in<QTimer>(f, QStringLiteral("Timer1"))->setInterval(0);
            const wk::Spielfeld& feld = f->spiel().feld();
            klick1(feld.Command17.Visible ? QStringLiteral("Command17") : QStringLiteral("Command3"));
            QTRY_VERIFY(!f->spiel().feld().Timer1);
            const auto k = std::find_if(wk::Kategorien.begin(), wk::Kategorien.end(),
                                        [&](const wk::Kategorie& k) { return feld.Kategorien[k.zelle].Visible; });
            klick1(QString::fromUtf8(k->knopf.data(), static_cast<int>(k->knopf.size())));
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

QString text(QWidget* fenster, const QString& name) { return fenster->findChild<QLabel*>(name)->text(); }

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

    void startfensterZeigtNamenWoertlich_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Anna";
        QTest::newRow("markup") << "<b>x</b>";
        QTest::newRow("image") << "<img src=x>";
        QTest::newRow("10000 characters") << QString(10000, QLatin1Char('W'));
        QTest::newRow("line break") << "Zeile\nzwei";
        QTest::newRow("right to left") << QString::fromUtf8("\u0645\u0631\u062D\u0628\u0627");
    }
    void startfensterZeigtNamenWoertlich() {
        QFETCH(QString, name);
        Programm p;
        p.einstellungen.vorbelegen("Highscore1", "1", "245");
        p.einstellungen.vorbelegen("Highscore1", "Name1", name.toStdString());
        p.anwendung.starten();
        QWidget* f = p.anwendung.form2();
        QVERIFY(f && f->isVisible() && !p.anwendung.form1());
        QCOMPARE(f->windowTitle(), QStringLiteral("Highscore"));
        QCOMPARE(f->size(), QSize(641, 500));
        QCOMPARE(text(f, "Label5"), QStringLiteral("Version 1.0  Beta"));
        QCOMPARE(text(f, "Label4"), QStringLiteral("Highscore bei 1 Rundenspiel."));
        QCOMPARE(text(f, "Punkt_0") + text(f, "Vorname_1") + text(f, "Punkt_1"), QStringLiteral("245 Punkte00 Punkte"));
        QCOMPARE(p.in<QRadioButton>(f, "Option1_0")->isChecked(), true);
        QCOMPARE(p.in<QRadioButton>(f, "Option2_0")->isChecked(), false);
        QCOMPARE(p.in(f, "Command1")->isVisible(), false);
        QCOMPARE(p.in(f, "Punkt_0")->accessibleDescription(), QStringLiteral("245 Punkte"));

        auto* label = p.in<QLabel>(f, "Vorname_0");
        QCOMPARE(label->geometry(), QRect(100, 77, 161, 16));
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->accessibleDescription(), name);
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
        QString gezeigt = label->text();
        if (gezeigt.endsWith(QChar(0x2026))) {
            gezeigt.chop(1);
            QCOMPARE(label->toolTip(), name);
        }
        QCOMPARE(wk::einzeilig(name).left(gezeigt.size()), gezeigt);

        p.klick2("Command2_0");  // a list button shows the bare number
        QCOMPARE(text(f, "Punkt_0"), QStringLiteral("245"));
        p.klick2("Command2_2");
        QCOMPARE(text(f, "Label4"), QStringLiteral("Highscore bei 10 Rundenspiel."));
    }

    void einKurzesSpielVomStartBisZumNeuenStartfenster() {
        Programm p;
        p.anwendung.starten();
        QPointer<QWidget> erstesStartfenster = p.anwendung.form2();
        p.eingabe.antworten = {std::string("  Anna  ")};
        p.klick2("Option2_0");
        p.klick2("Command1");
        QVERIFY(p.anwendung.form1() && p.anwendung.form1()->isVisible());
        QTRY_VERIFY(!erstesStartfenster);  // closed and destroyed
        QCOMPARE(text(p.anwendung.form1(), "Label3"), QStringLiteral("  Anna  "));

        QPointer<QWidget> spielfenster = p.anwendung.form1();
        p.spielZuEnde();
        QTRY_VERIFY(!spielfenster);
        QWidget* neu = p.anwendung.form2();
        QVERIFY(neu && neu->isVisible());
        QCOMPARE(p.in(neu, "Command1")->isVisible(), false);

        const double punkte = p.anwendung.stand().Gesamtpunkte[1];
        QVERIFY(punkte > 0);
        QCOMPARE(p.einstellungen.lesen("Highscore1", "1", "?"), wk::zahlAlsText(punkte));
        QCOMPARE(p.einstellungen.lesen("Highscore1", "Name1", "?"), std::string("Anna"));
        QCOMPARE(text(neu, "Punkt_0"), QString::fromStdString(wk::zahlAlsText(punkte) + " Punkte"));
    }

    void zugriffstasten_data() {
        QTest::addColumn<int>("taste");
        QTest::newRow("Alt+E ends at once and writes nothing") << int(Qt::Key_E);
        QTest::newRow("Alt+S starts the game") << int(Qt::Key_S);
    }
    void zugriffstasten() {
        QFETCH(int, taste);
        Programm p;
        p.anwendung.starten();
        QSignalSpy ende(&p.anwendung, &wk::Anwendung::beendet);
        p.klick2("Option2_1");
        aktivieren(p.anwendung.form2());
        QTest::keyClick(p.anwendung.form2(), static_cast<Qt::Key>(taste), Qt::AltModifier);
        // an access key clicks after a short animation
        QTRY_COMPARE(bool(p.anwendung.form1()), taste == Qt::Key_S);
        QTRY_COMPARE(ende.count(), taste == Qt::Key_E ? 1 : 0);
        QTRY_COMPARE(bool(p.anwendung.form2()), false);
        QCOMPARE(p.einstellungen.protokoll().empty(), true);
    }

    void startfensterMitDerTastaturUndNamensfragen() {
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
        // With no player option chosen yet, the arrows move and Space chooses; every name is asked for.
        p.eingabe.antworten = {std::string("Anna"), std::nullopt};
        p.in(f, "Option2_0")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(p.eingabe.fragenGestellt.size(), std::size_t{2});
        QCOMPARE(p.eingabe.fragenGestellt[1].prompt, std::string("Geben Sie Ihren Namen ein Spieler 2"));
        QCOMPARE(p.eingabe.fragenGestellt[1].vorgabe, std::string("Spieler Name 2"));
        QCOMPARE(p.anwendung.stand().Namen, (std::vector<std::string>{"", "Anna", ""}));  // cancel gives empty
        QCOMPARE(p.in(f, "Command1")->isVisible(), true);
        p.klick2("Option2_3");  // a new choice asks everybody again and forgets the earlier names
        QCOMPARE(p.eingabe.fragenGestellt.size(), std::size_t{6});
        QCOMPARE(p.anwendung.stand().AnzahlSpieler, 4);
        QCOMPARE(p.anwendung.stand().Namen[1], std::string("Spieler Name 1"));
        p.klick2("Option1_3");  // the game length changes only Runden; the names stay
        p.klick2("Command2_2");
        QCOMPARE(p.anwendung.stand().Runden, 25);
        QCOMPARE(p.anwendung.stand().Namen[4], std::string("Spieler Name 4"));

        // A focused link opens with Return.
        p.in(f, "Label1")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(p.links.geoeffnet.size(), std::size_t{1});
    }

    void loeschenLinksUndAbout() {
        Programm p;
        p.anwendung.starten();
        p.klick2("Image3");
        QCOMPARE(p.meldung.texte, std::vector<std::string>{" Highscore wird gelöscht."});
        QCOMPARE(p.einstellungen.protokoll().size(), std::size_t{4 * 40});
        QCOMPARE(p.einstellungen.lesen("Highscore25", "Name20", "?"), std::string(".."));
        // The list on screen stays until it is shown again.
        QCOMPARE(text(p.anwendung.form2(), "Vorname_0"), QStringLiteral("0"));

        p.klick2("Label2_0");
        p.klick2("Label2_1");
        p.klick2("Label1");
        QCOMPARE(p.links.geoeffnet,
                 (std::vector<std::string>{"https://www.orwen.example/", "https://orwen.example.net/",
                                           "mailto:orwen@example.org?Subject=Hallo&Body=Hallo Orwen"}));
        QCOMPARE(p.in(p.anwendung.form2(), "Label1")->toolTip(), QStringLiteral("Email an Orwen"));

        auto* form2 = qobject_cast<wk::Form2*>(p.anwendung.form2());
        p.klick2("Label5");
        QPointer<wk::FrmAbout> about = form2->about();
        QVERIFY(about && about->isVisible() && !about->isModal());
        p.klick2("Label5");
        QCOMPARE(form2->about(), about.data());
        QCOMPARE(form2->findChildren<wk::FrmAbout*>().size(), 1);
        QCOMPARE(about->windowTitle(), QStringLiteral("Info Wurfkrone"));
        QCOMPARE(text(about, "Label6"), QStringLiteral("version: ") + QStringLiteral(WK_VERSION));

        p.klick(p.in(about, "Label4"));
        QCOMPARE(p.links.geoeffnet.back(), std::string("https://www.orwen.example/"));

        p.klick(p.in(about, "cmdOK"));
        QTRY_VERIFY(!about);
        QVERIFY(form2->isVisible());
    }
};

QTEST_MAIN(TstAnwendung)
#include "tst_anwendung.moc"
