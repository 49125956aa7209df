// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Every control of the three windows at its place in the layout, and nothing
// the program adds to the game window on top of one of them.
#include "fakes/fakedienste.h"
#include "fakes/fakeeinstellungen.h"
#include "fakes/fakemeldung.h"
#include "platform/fensteroben.h"
#include "ui/anwendung.h"
#include "ui/artwork.h"
#include "ui/frmabout.h"
#include "ui/tipptabelle.h"

#include <QTest>

#include <vector>

namespace {

// A control's place in twips of the widget it lies in (Left, Top, Width,
// Height); an empty name stands for the window's inner size.
struct Ort {
    QString fenster, in, name;
    int left, top, width, height;
};

QRect inPixeln(const Ort& o) {
    const auto px = [](int twips) { return qRound(twips / 15.0); };
    return {px(o.left), px(o.top), px(o.width), px(o.height)};
}

std::vector<Ort> lage() {
    std::vector<Ort> l;
    const auto reihe = [&](const QString& fenster, const QString& in, const QString& name, int left, int top, int width, int height) {
        l.push_back({fenster, in, name, left, top, width, height});
    };
    // The game window, with the dice at rest after loading.
    const QString f1 = QStringLiteral("Form1");
    reihe(f1, f1, {}, 0, 0, 10470, 6825);
    const int knopfTop[13] = {225, 540, 945, 1260, 1680, 1980, 3380, 3735, 4080, 4455, 4815, 5130, 5520};
    const char* knopf[13] = {"Command5", "Command1", "Command6", "Command7", "Command8", "Command9", "Command10",
                             "Command11", "Command12", "Command13", "Command16", "Command14", "Command15"};
    const int zelleTop[13] = {225, 540, 945, 1260, 1665, 1980, 3375, 3735, 4095, 4455, 4770, 5130, 5490};
    for (int i = 0; i < 13; ++i) {
        reihe(f1, f1, QLatin1String(knopf[i]), i < 6 ? 1560 : 1260, knopfTop[i], i < 6 ? 915 : 1215, 255);
        reihe(f1, f1, QStringLiteral("Zahlen_%1").arg(i), 2640, zelleTop[i], 615, 255);
    }
    reihe(f1, f1, QStringLiteral("Zahlen_13"), 2640, 6240, 615, 255);
    reihe(f1, f1, QStringLiteral("Zahlen_14"), 9420, 5850, 615, 255);
    reihe(f1, f1, QStringLiteral("Zahlen_15"), 6900, 6435, 3375, 255);
    reihe(f1, f1, QStringLiteral("Zahlen_16"), 3360, 6240, 1155, 255);
    const int summenTop[4] = {2340, 2655, 3015, 5850};
    for (int i = 0; i < 4; ++i) reihe(f1, f1, QStringLiteral("Label1_%1").arg(i), 2640, summenTop[i], 615, 285);
    reihe(f1, f1, QStringLiteral("Label3"), 3480, 2745, 6675, 465);
    const int namenTop[6] = {135, 315, 540, 720, 990, 1170}, punkteTop[6] = {135, 315, 585, 765, 990, 1170};
    for (int i = 0; i < 6; ++i) {
        reihe(f1, f1, QStringLiteral("Label2_%1").arg(i), 7560, namenTop[i], 1815, 240);
        reihe(f1, f1, QStringLiteral("Punkt_%1").arg(i), 9540, punkteTop[i], i == 0 ? 735 : 915, 195);
    }
    const int ruheLeft[5] = {3840, 5160, 6480, 7800, 9000}, ablageLeft[5] = {4200, 5280, 6360, 7560, 8640};
    for (int i = 0; i < 5; ++i) {
        reihe(f1, f1, QStringLiteral("w1_%1").arg(i), ruheLeft[i], 3720, 750, 750);
        reihe(f1, f1, QStringLiteral("Raus_%1").arg(i), ablageLeft[i], i < 4 ? 1680 : 1665, 855, 855);
    }
    for (const char* name : {"Command17", "Command3"}) reihe(f1, f1, QLatin1String(name), 7080, 5640, 2115, 555);
    reihe(f1, f1, QStringLiteral("Check1"), 4860, 180, 1995, 195);
    reihe(f1, f1, QStringLiteral("Command2"), -1800, 7425, 2415, 1215);

    // The start window.
    const QString f2 = QStringLiteral("Form2");
    reihe(f2, f2, {}, 0, 0, 9615, 7500);
    reihe(f2, f2, QStringLiteral("Label5"), 60, 60, 2055, 255);
    reihe(f2, f2, QStringLiteral("Image3"), 0, 0, 135, 105);
    const int listenLeft[4] = {420, 1680, 2940, 4260};
    for (int i = 0; i < 4; ++i) reihe(f2, f2, QStringLiteral("Command2_%1").arg(i), listenLeft[i], 360, 1095, 240);
    reihe(f2, f2, QStringLiteral("Label4"), 180, 660, 5715, 420);
    for (int k = 0; k < 20; ++k) {
        const int top = k < 10 ? 1155 + 270 * k : 3990 + 270 * (k - 10);
        reihe(f2, f2, QStringLiteral("Label3_%1").arg(k), 600, top, 795, 240);
        reihe(f2, f2, QStringLiteral("Vorname_%1").arg(k), 1500, top, 2415, 240);
        reihe(f2, f2, QStringLiteral("Punkt_%1").arg(k), 4080, k == 0 ? 1140 : top, 1335, 240);
    }
    reihe(f2, f2, QStringLiteral("Line1"), 120, 3855, 5520, 15);
    const int optionTop[3] = {405, 900, 1395};
    for (int i = 0; i < 6; ++i) reihe(f2, f2, QStringLiteral("Option2_%1").arg(i), i < 3 ? 6060 : 7800, optionTop[i % 3], 1620, 465);
    reihe(f2, f2, QStringLiteral("Picture1"), 6900, 2100, 1635, 2400);
    const int laengeTop[4] = {0, 630, 1260, 1845};
    for (int i = 0; i < 4; ++i) reihe(f2, QStringLiteral("Picture1"), QStringLiteral("Option1_%1").arg(i), 0, laengeTop[i], 1605, 465);
    reihe(f2, f2, QStringLiteral("Command1"), 6300, 4590, 2955, 1050);
    reihe(f2, f2, QStringLiteral("Command3"), 840, 6840, 2115, 510);
    reihe(f2, f2, QStringLiteral("Label2_0"), 7020, 5760, 1995, 330);
    reihe(f2, f2, QStringLiteral("Label2_1"), 7020, 6240, 1995, 330);
    reihe(f2, f2, QStringLiteral("Label1"), 7020, 6720, 2295, 330);

    // The About dialog; all but the frame lie in the frame.
    const QString ab = QStringLiteral("frmAbout"), rahmen = QStringLiteral("Frame1");
    reihe(ab, ab, {}, 0, 0, 5910, 2535);
    reihe(ab, ab, rahmen, 120, 0, 5715, 2415);
    reihe(ab, rahmen, QStringLiteral("Label4"), 570, 315, 1965, 195);
    reihe(ab, rahmen, QStringLiteral("Label1_0"), 1140, 855, 3855, 375);
    reihe(ab, rahmen, QStringLiteral("Label1_2"), 1020, 1200, 3855, 375);
    reihe(ab, rahmen, QStringLiteral("Label1_3"), 960, 1560, 3855, 375);
    reihe(ab, rahmen, QStringLiteral("Label6"), 1080, 2040, 3435, 195);
    reihe(ab, rahmen, QStringLiteral("cmdOK"), 4380, 240, 1020, 345);
    return l;
}

// The windows as a player opens them: the start window with its About
// dialog, or, with `spielen`, the game window of six players.
struct Fenster {
    explicit Fenster(bool spielen) : anwendung({meldung, eingabe, links, fensterOben, einstellungen}, *artwork, tipptabelle) {
        anwendung.starten();
        klick(QStringLiteral("Label5"));
        if (spielen) {
            klick(QStringLiteral("Option2_5"));
            klick(QStringLiteral("Command1"));
        }
    }
    void klick(const QString& name) const {
        QWidget* w = anwendung.form2()->findChild<QWidget*>(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }

    static inline std::unique_ptr<wk::Artwork> artwork;
    FakeMeldung meldung;
    FakeEingabe eingabe;
    FakeLinks links;
    wk::QtFensterOben fensterOben;
    FakeEinstellungen einstellungen;
    // The coach's controls, without computing its table.
    wk::Tipptabelle tipptabelle{[](const wk::Verteiler&) { return std::unique_ptr<wk::Tabelle>(); }};
    wk::Anwendung anwendung;
};

} // namespace

class TstFensterlage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        Fenster::artwork = std::make_unique<wk::Artwork>(1.0);
        m_start = std::make_unique<Fenster>(false);
        m_spiel = std::make_unique<Fenster>(true);
        QVERIFY(m_spiel->anwendung.form1());
    }
    void cleanupTestCase() {
        m_start.reset();
        m_spiel.reset();
        Fenster::artwork.reset();
    }

    QWidget* fenster(const QString& name) const {
        if (name == QLatin1String("Form1")) return m_spiel->anwendung.form1();
        QWidget* start = m_start->anwendung.form2();
        return name == QLatin1String("frmAbout") ? start->findChild<wk::FrmAbout*>() : start;
    }

    void jedesSteuerelementAnSeinemPlatz_data() {
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("platz");
        for (const Ort& o : lage()) {
            QTest::addRow("%s %s", qPrintable(o.fenster), o.name.isEmpty() ? "inner size" : qPrintable(o.name))
                << o.fenster << o.in << o.name << inPixeln(o);
        }
    }
    void jedesSteuerelementAnSeinemPlatz() {
        QFETCH(QString, fenster);
        QFETCH(QString, in);
        QFETCH(QString, name);
        QFETCH(QRect, platz);
        QWidget* f = this->fenster(fenster);
        QVERIFY(f);
        if (name.isEmpty()) {
            QCOMPARE(f->rect(), platz);
            return;
        }
        QList<QWidget*> treffer = f->findChildren<QWidget*>(name);
        treffer.removeIf([f](QWidget* w) { return w->window() != f; });  // the About dialog is the start window's child
        QCOMPARE(treffer.size(), 1);
        QCOMPARE(treffer[0]->parentWidget()->objectName(), in);
        QCOMPARE(treffer[0]->geometry(), platz);
    }

    // What the program adds to the game window, shown or not, lies on free
    // felt: it covers no control of the layout and no place a die tumbles through.
    void zusaetzlichesLiegtNurAufFreiemFilz() {
        QWidget* spiel = m_spiel->anwendung.form1();
        std::vector<QRect> belegt{inPixeln({{}, {}, {}, 3600, 3360, 9990 - 3600, 4850 - 3360})};
        QStringList namen;
        for (const Ort& o : lage()) {
            if (o.fenster == QLatin1String("Form1") && !o.name.isEmpty()) {
                belegt.push_back(inPixeln(o));
                namen << o.name;
            }
        }
        for (QWidget* w : spiel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            // A layer that only draws marks lets every click through.
            if (namen.contains(w->objectName()) || w->isWindow() || w->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;
            for (const QRect& r : belegt) QVERIFY2(!w->geometry().intersects(r), qPrintable(w->objectName()));
        }
    }

private:
    std::unique_ptr<Fenster> m_start, m_spiel;
};

QTEST_MAIN(TstFensterlage)
#include "tst_fensterlage.moc"
