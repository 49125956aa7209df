#include "fakes/fakefensteroben.h"
#include "fakes/fakemeldung.h"
#include "game/wertung.h"
#include "platform/fensteroben.h"
#include "ui/artwork.h"
#include "ui/form1.h"
#include "ui/wuerfelfeld.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

struct Partie {
    explicit Partie(std::vector<std::string> namen, int runden = 1) {
        stand.Runden = runden;
        stand.spielerAnlegen(static_cast<int>(namen.size()));
        for (std::size_t p = 0; p < namen.size(); ++p) {
            stand.Namen[p + 1] = namen[p];
        }
        stand.spielStarten();
        fenster = std::make_unique<wk::Form1>(stand, zufall, meldung, fensterOben, *artwork, [this] { ++auswertungen; });
    }

    template <typename T = QWidget>
    T* kind(const QString& name) const {
        T* w = fenster->findChild<T*>(name);
        if (!w) {
            qWarning("no control %s", qPrintable(name));
        }
        return w;
    }

    void klick(const QString& name) const {
        QWidget* w = kind(name);
        QVERIFY(w);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }

    QString text(const QString& name) const { return kind<QLabel>(name)->text(); }

    // Runs the roll animation to its end, as fast as the event loop allows.
    void wurfAbwarten() const {
        kind<QTimer>(QStringLiteral("Timer1"))->setInterval(0);
        QTRY_VERIFY(!fenster->spiel().feld().Timer1);
    }

    void taste(int key) const { QTest::keyClick(fenster.get(), static_cast<Qt::Key>(key)); }

    // Everything a player can see of the game, as one text.
    QString zustand() const {
        const wk::Spielfeld& f = fenster->spiel().feld();
        QString z;
        for (int i = 0; i < 5; ++i) {
            z += QStringLiteral("w%1:%2%3 r%1:%4%5 ").arg(i).arg(QString::fromStdString(f.w1[i].Tag))
                     .arg(f.w1[i].Visible).arg(QString::fromStdString(f.Raus[i].Tag)).arg(f.Raus[i].Visible);
        }
        for (const std::string& zahl : f.Zahlen) {
            z += QString::fromStdString(zahl) + QLatin1Char('|');
        }
        z += QStringLiteral("c3:%1 c17:%2 t:%3 m:%4").arg(f.Command3.Visible).arg(f.Command17.Visible).arg(f.Timer1)
                 .arg(meldung.texte.size());
        return z;
    }

    static inline std::unique_ptr<wk::Artwork> artwork;
    wk::Spielstand stand;
    wk::Zufall zufall;
    FakeMeldung meldung;
    FakeFensterOben fensterOben;
    int auswertungen = 0;
    std::unique_ptr<wk::Form1> fenster;
};

} // namespace

class TstForm1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Partie::artwork = std::make_unique<wk::Artwork>(1.0); }
    void cleanupTestCase() { Partie::artwork.reset(); }

    void fensterNachDemLaden() {
        Partie p({"Anna", "Bert"});
        wk::Form1& f = *p.fenster;
        QCOMPARE(f.windowTitle(), QStringLiteral("Wurfkrone "));
        QCOMPARE(f.size(), QSize(698, 455));
        QCOMPARE(f.minimumSize(), f.maximumSize());
        QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!f.windowIcon().isNull());

        QCOMPARE(p.text("Label3"), QStringLiteral("Anna"));
        QCOMPARE(p.text("Label2_1"), QStringLiteral("Bert"));
        QVERIFY(p.kind("Label2_1")->isVisibleTo(&f));
        QVERIFY(!p.kind("Label2_2")->isVisibleTo(&f));
        QVERIFY(!p.kind("Punkt_2")->isVisibleTo(&f));
        for (int i = 0; i <= 16; ++i) {
            QCOMPARE(p.text(QStringLiteral("Zahlen_%1").arg(i)), QStringLiteral("0"));
        }
        for (const wk::Kategorie& k : wk::Kategorien) {
            auto* knopf = p.kind<QPushButton>(QString::fromUtf8(k.knopf.data(), k.knopf.size()));
            QVERIFY(knopf->isVisibleTo(&f));
            QVERIFY(!knopf->isEnabled());
            QCOMPARE(knopf->text(), QString::fromUtf8(k.beschriftung.data(), k.beschriftung.size()));
        }
        QVERIFY(p.kind("Command17")->isVisibleTo(&f));
        QVERIFY(!p.kind("Command3")->isVisibleTo(&f));
        QVERIFY(!p.kind("Command2")->isVisibleTo(&f));
        QCOMPARE(p.kind<QPushButton>("Command17")->text(), QStringLiteral("Würfeln"));
        QVERIFY(!p.kind<QCheckBox>("Check1")->isChecked());
        QVERIFY(!p.kind<QTimer>("Timer1")->isActive());
    }

    void steuerelementeAnIhremPlatz_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("ort");
        QTest::newRow("1er") << "Command5" << QRect(104, 15, 61, 17);
        QTest::newRow("Grosse Strasse") << "Command16" << QRect(84, 321, 81, 17);
        QTest::newRow("grand total") << "Zahlen_13" << QRect(176, 416, 41, 17);
        QTest::newRow("rolls") << "Zahlen_14" << QRect(628, 390, 41, 17);
        QTest::newRow("Runde") << "Zahlen_15" << QRect(460, 429, 225, 17);
        QTest::newRow("bonus") << "Label1_1" << QRect(176, 177, 41, 19);
        QTest::newRow("status") << "Label3" << QRect(232, 183, 445, 31);
        QTest::newRow("first points") << "Punkt_0" << QRect(636, 9, 49, 13);
        QTest::newRow("roll button") << "Command17" << QRect(472, 376, 141, 37);
        QTest::newRow("keep on top") << "Check1" << QRect(324, 12, 133, 13);
        QTest::newRow("die 0 at rest") << "w1_0" << QRect(256, 248, 50, 50);
        QTest::newRow("die 4 at rest") << "w1_4" << QRect(600, 248, 50, 50);
        QTest::newRow("tray E") << "Raus_4" << QRect(576, 111, 57, 57);
    }
    void steuerelementeAnIhremPlatz() {
        QFETCH(QString, name);
        QFETCH(QRect, ort);
        Partie p({"Anna"});
        QCOMPARE(p.kind(name)->geometry(), ort);
    }

    void einZugMitEchtemTimer() {
        Partie p({"Anna"});
        p.fenster->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.fenster.get()));
        auto* timer = p.kind<QTimer>("Timer1");

        QElapsedTimer uhr;
        uhr.start();
        p.klick("Command17");
        QVERIFY(timer->isActive());
        QVERIFY(!p.kind("w1_0")->isEnabled());
        QCOMPARE(p.text("Zahlen_14"), QStringLiteral("1"));
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 5000);
        const qint64 dauer = uhr.elapsed();
        QVERIFY2(dauer >= 1000 && dauer < 2500, qPrintable(QString::number(dauer)));
        QVERIFY(p.kind("Command5")->isEnabled());
        QCOMPARE(p.text("Zahlen_16"), QStringLiteral("noch 13"));

        // Hold a die: it moves to tray box A with its value.
        const QString wert = p.kind("w1_2")->accessibleDescription();
        QVERIFY(!wert.isEmpty());
        p.klick("w1_2");
        QVERIFY(!p.kind("w1_2")->isVisible());
        QVERIFY(p.kind("Raus_0")->isVisible());
        QCOMPARE(p.kind("Raus_0")->accessibleDescription(), wert);

        p.klick("Command17");
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 5000);
        QCOMPARE(p.kind("Raus_0")->accessibleDescription(), wert);
        QCOMPARE(p.text("Zahlen_14"), QStringLiteral("2"));

        const wk::Spielfeld& feld = p.fenster->spiel().feld();
        const int chance = wk::punkte(wk::Kategorien[12], feld.w1, feld.Raus);
        p.klick("Command15");
        QCOMPARE(p.text("Zahlen_12"), QString::number(chance));
        QCOMPARE(p.text("Zahlen_13"), QString::number(chance));
        QVERIFY(!p.kind("Command15")->isVisible());
        QVERIFY(p.kind("Command3")->isVisible());
        QVERIFY(!p.kind("Command17")->isVisible());
        QVERIFY(!timer->isActive());
    }

    void wuerfelVorDemWurfMeldetSich() {
        Partie p({"Anna"});
        p.fenster->show();
        p.klick("w1_0");
        QCOMPARE(p.meldung.texte, std::vector<std::string>{" Du hast noch nicht gewürfelt."});
        QVERIFY(p.kind("w1_0")->isVisible());
    }

    void fensterImmerObenGehtAnDieFensterdienste() {
        Partie p({"Anna"});
        p.fenster->show();
        p.klick("Check1");
        p.klick("Check1");
        QCOMPARE(p.fensterOben.aufrufe.size(), std::size_t{2});
        QCOMPARE(p.fensterOben.aufrufe[0].fenster, p.fenster.get());
        QVERIFY(p.fensterOben.aufrufe[0].oben);
        QVERIFY(!p.fensterOben.aufrufe[1].oben);
    }

    void fensterObenBehaeltLageUndGroesse() {
        Partie p({"Anna"});
        p.fenster->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.fenster.get()));
        wk::QtFensterOben oben;
        const QRect vorher = p.fenster->geometry();
        oben.fenster_oben(*p.fenster, true);
        QVERIFY(p.fenster->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(p.fenster->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        QVERIFY(p.fenster->isVisible());
        QCOMPARE(p.fenster->geometry(), vorher);
        oben.fenster_oben(*p.fenster, false);
        QVERIFY(!(p.fenster->windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(p.fenster->isVisible());
        QCOMPARE(p.fenster->geometry(), vorher);
    }

    void namenErscheinenWoertlich_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("bold") << "<b>Anna</b>";
        QTest::newRow("image") << "<img src=x>";
        QTest::newRow("entity") << "&amp; &lt;";
        QTest::newRow("access key") << "&Anna";
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
        QTest::newRow("10000 characters") << QString(10000, QLatin1Char('W'));
        QTest::newRow("tab and line break") << "Anna\tB\nC";
        QTest::newRow("right to left") << QString::fromUtf8("\u0645\u0631\u062D\u0628\u0627");
        QTest::newRow("emoji") << QString::fromUtf8("\U0001F3B2\U0001F451");
        QTest::newRow("combining accent") << QString::fromUtf8("Rene\u0301");
    }
    void namenErscheinenWoertlich() {
        QFETCH(QString, name);
        Partie p({name.toStdString(), "Bert"});
        for (const QString& labelName : {QStringLiteral("Label2_0"), QStringLiteral("Label3")}) {
            auto* label = p.kind<QLabel>(labelName);
            const QRect ort = label->geometry();
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->accessibleDescription(), name);
            QString zeile = name;
            zeile.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            if (label->fontMetrics().horizontalAdvance(zeile) <= label->contentsRect().width() - 4) {
                QCOMPARE(label->text(), zeile);
            } else {
                QVERIFY(label->text().endsWith(QChar(0x2026)));
                QVERIFY(zeile.startsWith(label->text().chopped(1)));
                QCOMPARE(label->toolTip(), name);
            }
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
            QCOMPARE(label->geometry(), ort);
        }
    }

    void tastenWirkenWieKlicks_data() {
        QTest::addColumn<int>("vorher");  // 0 nothing, 1 one roll, 2 one roll and dice 1, 2 put aside
        QTest::addColumn<int>("taste");
        QTest::addColumn<QString>("steuerelement");
        QTest::newRow("Return rolls") << 0 << int(Qt::Key_Return) << "Command17";
        QTest::newRow("R rolls again") << 1 << int(Qt::Key_R) << "Command17";
        QTest::newRow("3 puts die 3 aside") << 1 << int(Qt::Key_3) << "w1_2";
        QTest::newRow("1 before any roll is refused") << 0 << int(Qt::Key_1) << "w1_0";
        QTest::newRow("B takes tray B back") << 2 << int(Qt::Key_B) << "Raus_1";
        QTest::newRow("E on an empty tray box does nothing") << 2 << int(Qt::Key_E) << "Raus_4";
        QTest::newRow("2 on a die in the tray does nothing") << 2 << int(Qt::Key_2) << "w1_1";
        QTest::newRow("Return after the third roll does nothing") << 3 << int(Qt::Key_Return) << "Command17";
    }
    void tastenWirkenWieKlicks() {
        QFETCH(int, vorher);
        QFETCH(int, taste);
        QFETCH(QString, steuerelement);
        Partie mitMaus({"Anna"});
        Partie mitTaste({"Anna"});
        for (Partie* p : {&mitMaus, &mitTaste}) {
            p->fenster->show();
            for (int wurf = 0; wurf < (vorher == 3 ? 3 : qMin(vorher, 1)); ++wurf) {
                p->klick(QStringLiteral("Command17"));
                p->wurfAbwarten();
            }
            if (vorher == 2) {
                p->klick(QStringLiteral("w1_0"));
                p->klick(QStringLiteral("w1_1"));
            }
        }
        QCOMPARE(mitTaste.zustand(), mitMaus.zustand());
        const QString vorDemKlick = mitMaus.zustand();
        QWidget* ziel = mitMaus.kind(steuerelement);
        if (ziel->isVisible() && ziel->isEnabled()) {
            mitMaus.klick(steuerelement);
        }
        mitTaste.taste(taste);
        QCOMPARE(mitTaste.zustand(), mitMaus.zustand());
        mitMaus.wurfAbwarten();
        mitTaste.wurfAbwarten();
        QCOMPARE(mitTaste.zustand(), mitMaus.zustand());
        if (steuerelement == QLatin1String("Raus_4") || steuerelement == QLatin1String("w1_1") || vorher == 3) {
            QCOMPARE(mitTaste.zustand(), vorDemKlick);
        }
    }

    void tabWaehltKategorienInBlattfolgeUndLeertasteTraegtEin() {
        Partie p({"Anna"});
        p.fenster->show();
        QApplication::setActiveWindow(p.fenster.get());
        QVERIFY(QTest::qWaitForWindowActive(p.fenster.get()));
        QTest::keyClick(p.fenster.get(), Qt::Key_Tab);
        QVERIFY(!qobject_cast<QPushButton*>(QApplication::focusWidget()));  // nothing to enter yet
        p.taste(Qt::Key_Return);
        p.wurfAbwarten();
        p.klick(QStringLiteral("Command5"));  // "1er" is used up
        p.klick(QStringLiteral("Command3"));
        p.wurfAbwarten();
        p.fenster->setFocus();
        QStringList folge;
        for (int i = 0; i < 12; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            folge << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(folge, (QStringList{"Command1", "Command6", "Command7", "Command8", "Command9", "Command10",
                                     "Command11", "Command12", "Command13", "Command16", "Command14", "Command15"}));
        const int punkte = p.fenster->spiel().wuerdeBringen(12);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(p.text("Zahlen_12"), QString::number(punkte));
        QVERIFY(!p.kind("Command15")->isVisible());
    }

    void vorschauGleichtDemEintrag() {
        Partie p({"Anna"}, 5);
        p.fenster->show();
        QRandomGenerator zufall(20261206);
        for (int zug = 0; zug < 65; ++zug) {
            p.taste(Qt::Key_Return);
            p.wurfAbwarten();
            for (int i = 0; i < 5; ++i) {
                if (zufall.bounded(2) == 0) {
                    p.taste(Qt::Key_1 + i);
                }
            }
            if (zufall.bounded(2) == 0) {
                p.taste(Qt::Key_R);
                p.wurfAbwarten();
            }
            QList<QPushButton*> offen;
            for (const wk::Kategorie& k : wk::Kategorien) {
                auto* knopf = p.kind<QPushButton>(QString::fromUtf8(k.knopf.data(), k.knopf.size()));
                if (knopf->isVisible()) {
                    QVERIFY(knopf->isEnabled());
                    QVERIFY(knopf->toolTip().startsWith(QStringLiteral("Würde ")));
                    QCOMPARE(knopf->accessibleDescription(), knopf->toolTip());
                    offen << knopf;
                }
            }
            QPushButton* wahl = offen[zufall.bounded(static_cast<int>(offen.size()))];
            const QString vorschau = wahl->toolTip().section(QLatin1Char(' '), 1, 1);
            const int zelle = static_cast<int>(std::find_if(wk::Kategorien.begin(), wk::Kategorien.end(),
                                                            [&](const wk::Kategorie& k) {
                                                                return wahl->objectName() == QLatin1String(k.knopf.data(),
                                                                                            k.knopf.size());
                                                            }) - wk::Kategorien.begin());
            // The sheet's last entry is on screen until the next sheet's message is confirmed.
            QString eingetragen;
            const auto lesen = [&] { eingetragen = p.text(QStringLiteral("Zahlen_%1").arg(zelle)); };
            p.meldung.waehrendOffen = lesen;
            wahl->click();
            if (offen.size() > 1) {
                lesen();
            }
            QCOMPARE(eingetragen, vorschau);
            QVERIFY(wahl->toolTip().isEmpty() || !wahl->isEnabled());
        }
    }

    void bedienhilfenBeschreibenDenZustand() {
        Partie p({"Anna"});
        QCOMPARE(p.kind("Zahlen_14")->accessibleName(), QStringLiteral("Würfe"));
        QCOMPARE(p.kind("Zahlen_11")->accessibleName(), QStringLiteral("Wurfkrone"));
        QCOMPARE(p.kind("Label1_2")->accessibleName(), QStringLiteral("oben gesamt (inkl. Bonus)"));
        QCOMPARE(p.kind("Raus_2")->accessibleName(), QStringLiteral("Ablage C"));
        QCOMPARE(p.kind("w1_3")->accessibleName(), QStringLiteral("Würfel 4"));
        QCOMPARE(p.kind("Punkt_0")->accessibleName(), QStringLiteral("Punkte Spieler 1"));
        QCOMPARE(p.kind("w1_3")->accessibleDescription(), QString());
        QCOMPARE(p.kind("Label3")->accessibleDescription(), QStringLiteral("Anna"));

        p.klick("Command17");
        while (p.fenster->spiel().feld().Timer1) {
            QTest::qWait(50);
        }
        for (int i = 0; i < 5; ++i) {
            const QString wert = QString::fromStdString(p.fenster->spiel().feld().w1[i].Tag);
            QCOMPARE(p.kind(QStringLiteral("w1_%1").arg(i))->accessibleDescription(), wert);
        }
        QCOMPARE(p.kind("Zahlen_16")->accessibleDescription(), QStringLiteral("noch 13"));
    }
};

QTEST_MAIN(TstForm1)
#include "tst_form1.moc"
