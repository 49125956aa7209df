#include "fakes/fakefensteroben.h"
#include "fakes/fakemeldung.h"
#include "game/wertung.h"
#include "platform/fensteroben.h"
#include "ui/artwork.h"
#include "ui/form1.h"
#include "ui/wuerfelfeld.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

QString q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

struct Partie {
    explicit Partie(std::vector<std::string> namen, int runden = 1) {
        stand.Runden = runden;
        stand.spielerAnlegen(static_cast<int>(namen.size()));
        for (std::size_t p = 0; p < namen.size(); ++p) {
            stand.Namen[p + 1] = namen[p];
        }
        stand.spielStarten();
        fenster = std::make_unique<wk::Form1>(stand, zufall, meldung, fensterOben, *artwork, [] {});
        fenster->show();
    }
    template <typename T = QWidget>
    T* kind(const QString& name) const { return fenster->findChild<T*>(name); }
    void klick(const QString& name) const {
        QWidget* w = kind(name);
        QVERIFY2(w, qPrintable(name));
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
    QString text(const QString& name) const { return kind<QLabel>(name)->text(); }
    void wurfAbwarten() const {  // the roll animation, as fast as the event loop allows
        kind<QTimer>(QStringLiteral("Timer1"))->setInterval(0);
        QTRY_VERIFY(!fenster->spiel().feld().Timer1);
    }
    void taste(int key) const { QTest::keyClick(fenster.get(), static_cast<Qt::Key>(key)); }
    QString zustand() const {  // everything a player can see of the game
        const wk::Spielfeld& f = fenster->spiel().feld();
        QString z;
        for (int i = 0; i < 5; ++i) {
            z += QStringLiteral("%1%2%3%4 ").arg(q(f.w1[i].Tag)).arg(f.w1[i].Visible).arg(q(f.Raus[i].Tag)).arg(f.Raus[i].Visible);
        }
        for (const std::string& zahl : f.Zahlen) {
            z += q(zahl) + QLatin1Char('|');
        }
        return z + QStringLiteral("%1%2%3%4").arg(f.Command3.Visible).arg(f.Command17.Visible).arg(f.Timer1).arg(meldung.texte.size());
    }

    static inline std::unique_ptr<wk::Artwork> artwork;
    wk::Spielstand stand;
    wk::Zufall zufall;
    FakeMeldung meldung;
    FakeFensterOben fensterOben;
    std::unique_ptr<wk::Form1> fenster;
};

} // namespace

class TstForm1 : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { Partie::artwork = std::make_unique<wk::Artwork>(1.0); }
    void cleanupTestCase() { Partie::artwork.reset(); }

    void fensterUndSteuerelemente_data() {
        QTest::addColumn<QString>("name");  // empty: the window itself
        QTest::addColumn<QRect>("ort");
        QTest::addColumn<bool>("sichtbar");
        QTest::newRow("window") << "" << QRect(0, 0, 698, 455) << true;
        QTest::newRow("1er") << "Command5" << QRect(104, 15, 61, 17) << true;
        QTest::newRow("status") << "Label3" << QRect(232, 183, 445, 31) << true;
        QTest::newRow("roll button") << "Command17" << QRect(472, 376, 141, 37) << true;
        QTest::newRow("keep on top") << "Check1" << QRect(324, 12, 133, 13) << true;
        QTest::newRow("die 4 at rest") << "w1_4" << QRect(600, 248, 50, 50) << true;
        QTest::newRow("tray E") << "Raus_4" << QRect(576, 111, 57, 57) << false;
        QTest::newRow("second player") << "Label2_1" << QRect() << true;
        QTest::newRow("no third player") << "Label2_2" << QRect() << false;
        QTest::newRow("no roll-again yet") << "Command3" << QRect() << false;
    }
    void fensterUndSteuerelemente() {
        QFETCH(QString, name);
        QFETCH(QRect, ort);
        QFETCH(bool, sichtbar);
        Partie p({"Anna", "Bert"});
        QWidget* w = name.isEmpty() ? p.fenster.get() : p.kind(name);
        QVERIFY(w);
        QCOMPARE(w->isVisible(), sichtbar);
        if (!ort.isNull()) {
            QCOMPARE(name.isEmpty() ? w->rect() : w->geometry(), ort);
        }
        if (name.isEmpty()) {
            QCOMPARE(w->windowTitle(), QStringLiteral("Wurfkrone "));
            QCOMPARE(w->minimumSize(), w->maximumSize());
            QCOMPARE(w->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint), Qt::WindowMinimizeButtonHint);
        }
    }

    void einZugMitEchtemTimerUndFensterOben() {
        Partie p({"Anna"});
        QVERIFY(QTest::qWaitForWindowExposed(p.fenster.get()));
        p.klick("Check1");  // keep on top goes to the window services
        p.klick("Check1");
        QCOMPARE(p.fensterOben.aufrufe.size(), std::size_t{2});
        QCOMPARE(p.fensterOben.aufrufe[0].fenster, p.fenster.get());
        QCOMPARE(p.fensterOben.aufrufe[0].oben && !p.fensterOben.aufrufe[1].oben, true);
        wk::QtFensterOben oben;  // the real one keeps position and size
        const QRect lage = p.fenster->geometry();
        for (bool an : {true, false}) {
            oben.fenster_oben(*p.fenster, an);
            QCOMPARE(bool(p.fenster->windowHandle()->flags() & Qt::WindowStaysOnTopHint), an);
            QCOMPARE(p.fenster->isVisible(), true);
            QCOMPARE(p.fenster->geometry(), lage);
        }

        auto* timer = p.kind<QTimer>("Timer1");
        p.klick("w1_0");  // before any roll
        QCOMPARE(p.meldung.texte, std::vector<std::string>{" Du hast noch nicht gewürfelt."});
        QCOMPARE(p.kind("w1_3")->accessibleDescription(), QString());

        QElapsedTimer uhr;  // the roll animation takes its time
        uhr.start();
        p.klick("Command17");
        QCOMPARE(timer->isActive(), true);
        QCOMPARE(p.kind("w1_0")->isEnabled(), false);
        QCOMPARE(p.text("Zahlen_14"), QStringLiteral("1"));
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 5000);
        const qint64 dauer = uhr.elapsed();
        QVERIFY2(dauer >= 1000 && dauer < 2500, qPrintable(QString::number(dauer)));
        QCOMPARE(p.kind("Command5")->isEnabled(), true);
        QCOMPARE(p.kind("Zahlen_16")->accessibleDescription(), QStringLiteral("noch 13"));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(p.kind(QStringLiteral("w1_%1").arg(i))->accessibleDescription(), q(p.fenster->spiel().feld().w1[i].Tag));
        }

        const QString wert = p.kind("w1_2")->accessibleDescription();  // held die goes to tray A
        p.klick("w1_2");
        QCOMPARE(p.kind("w1_2")->isVisible(), false);
        QCOMPARE(p.kind("Raus_0")->accessibleDescription(), wert);
        p.klick("Command17");
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 5000);
        QCOMPARE(p.kind("Raus_0")->accessibleDescription(), wert);
        QCOMPARE(p.text("Zahlen_14"), QStringLiteral("2"));

        const wk::Spielfeld& feld = p.fenster->spiel().feld();
        const QString chance = QString::number(wk::punkte(wk::Kategorien[12], feld.w1, feld.Raus));
        p.klick("Command15");
        QCOMPARE(p.text("Zahlen_12") + p.text("Zahlen_13"), chance + chance);
        QCOMPARE(p.kind("Command3")->isVisible(), true);
        QCOMPARE(p.kind("Command17")->isVisible(), false);
    }

    void namenErscheinenWoertlich_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("bold") << "<b>Anna</b>";
        QTest::newRow("access key") << "&Anna";
        QTest::newRow("empty") << "";
        QTest::newRow("10000 characters") << QString(10000, QLatin1Char('W'));
        QTest::newRow("tab and line break") << "Anna\tB\nC";
        QTest::newRow("right to left") << QString::fromUtf8("\u0645\u0631\u062D\u0628\u0627");
        QTest::newRow("emoji") << QString::fromUtf8("\U0001F3B2\U0001F451");
        QTest::newRow("combining accent") << QString::fromUtf8("Rene\u0301");
    }
    void namenErscheinenWoertlich() {
        QFETCH(QString, name);
        Partie p({name.toStdString(), "Bert"});
        for (const char* labelName : {"Label2_0", "Label3"}) {
            auto* label = p.kind<QLabel>(labelName);
            const QRect ort = label->geometry();
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->accessibleDescription(), name);
            const QString zeile = QString(name).replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            if (label->fontMetrics().horizontalAdvance(zeile) <= label->contentsRect().width() - 4) {
                QCOMPARE(label->text(), zeile);
            } else {
                QCOMPARE(label->text().back(), QChar(0x2026));
                QCOMPARE(zeile.left(label->text().size() - 1), label->text().chopped(1));
                QCOMPARE(label->toolTip(), name);
            }
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
            QCOMPARE(label->geometry(), ort);
        }
    }

    void tastenWirkenWieKlicks_data() {
        QTest::addColumn<int>("vorher");  // rolls made; 2: one roll, then dice 1 and 2 put aside
        QTest::addColumn<int>("taste");
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<bool>("wirkungslos");
        QTest::newRow("Return rolls") << 0 << int(Qt::Key_Return) << "Command17" << false;
        QTest::newRow("R rolls again") << 1 << int(Qt::Key_R) << "Command17" << false;
        QTest::newRow("3 puts die 3 aside") << 1 << int(Qt::Key_3) << "w1_2" << false;
        QTest::newRow("1 before any roll is refused") << 0 << int(Qt::Key_1) << "w1_0" << false;
        QTest::newRow("B takes tray B back") << 2 << int(Qt::Key_B) << "Raus_1" << false;
        QTest::newRow("E on an empty tray box") << 2 << int(Qt::Key_E) << "Raus_4" << true;
        QTest::newRow("2 on a die in the tray") << 2 << int(Qt::Key_2) << "w1_1" << true;
        QTest::newRow("Return after the third roll") << 3 << int(Qt::Key_Return) << "Command17" << true;
    }
    void tastenWirkenWieKlicks() {
        QFETCH(int, vorher);
        QFETCH(int, taste);
        QFETCH(QString, ziel);
        QFETCH(bool, wirkungslos);
        Partie mitMaus({"Anna"}), mitTaste({"Anna"});
        for (Partie* p : {&mitMaus, &mitTaste}) {
            for (int wurf = 0; wurf < (vorher == 2 ? 1 : vorher); ++wurf) {
                p->klick(QStringLiteral("Command17"));
                p->wurfAbwarten();
            }
            if (vorher == 2) {
                p->klick(QStringLiteral("w1_0"));
                p->klick(QStringLiteral("w1_1"));
            }
        }
        const QString anfang = mitMaus.zustand();
        if (mitMaus.kind(ziel)->isVisible() && mitMaus.kind(ziel)->isEnabled()) {
            mitMaus.klick(ziel);
        }
        mitTaste.taste(taste);
        mitMaus.wurfAbwarten();
        mitTaste.wurfAbwarten();
        QCOMPARE(mitTaste.zustand(), mitMaus.zustand());
        QCOMPARE(mitTaste.zustand() == anfang, wirkungslos);
    }

    void tabWaehltKategorienInBlattfolgeUndLeertasteTraegtEin() {
        Partie p({"Anna"});
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
        QCOMPARE(p.kind("Command15")->isVisible(), false);
    }

    void vorschauGleichtDemEintrag() {  // two sheets, so the change of sheet is crossed too
        Partie p({"Anna"}, 2);
        QRandomGenerator zufall(20261206);
        for (int zug = 0; zug < 26; ++zug) {
            p.taste(Qt::Key_Return);
            p.wurfAbwarten();
            for (int i = 0; i < 5; ++i) {
                if (zufall.bounded(2) == 0) {
                    p.taste(Qt::Key_1 + i);
                }
            }
            QList<std::pair<QPushButton*, int>> offen;
            for (const wk::Kategorie& k : wk::Kategorien) {
                auto* knopf = p.kind<QPushButton>(q(k.knopf));
                if (knopf->isVisible()) {
                    QCOMPARE(knopf->accessibleDescription(), knopf->toolTip());
                    offen.append({knopf, k.zelle});
                }
            }
            const auto [wahl, zelle] = offen[zufall.bounded(static_cast<int>(offen.size()))];
            QCOMPARE(wahl->toolTip().section(QLatin1Char(' '), 0, 0), QStringLiteral("Würde"));
            const QString vorschau = wahl->toolTip().section(QLatin1Char(' '), 1, 1);
            // The sheet's last entry is on screen until the next sheet's message is confirmed.
            QString eingetragen;
            p.meldung.waehrendOffen = [&, z = zelle] { eingetragen = p.text(QStringLiteral("Zahlen_%1").arg(z)); };
            wahl->click();
            QCOMPARE(offen.size() > 1 ? p.text(QStringLiteral("Zahlen_%1").arg(zelle)) : eingetragen, vorschau);
        }
    }
};

QTEST_MAIN(TstForm1)
#include "tst_form1.moc"
