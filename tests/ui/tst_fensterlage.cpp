// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Every control of the three windows at its place in the layout, and nothing
// the program adds to the game window on top of one of them.
#include "programm.h"
#include "ui/frmabout.h"
#include "ui/tipptabelle.h"

#include <QMap>

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
    // The game window, with the dice at rest after loading.
    const QString f1 = QStringLiteral("Form1");
    l.push_back({f1, f1, {}, 0, 0, 10470, 6825});
    const int knopfTop[13] = {225, 540, 945, 1260, 1680, 1980, 3380, 3735, 4080, 4455, 4815, 5130, 5520};
    const int knopf[13] = {5, 1, 6, 7, 8, 9, 10, 11, 12, 13, 16, 14, 15};  // CommandN
    const int zelleTop[13] = {225, 540, 945, 1260, 1665, 1980, 3375, 3735, 4095, 4455, 4770, 5130, 5490};
    for (int i = 0; i < 13; ++i) {
        l.push_back({f1, f1, QStringLiteral("Command%1").arg(knopf[i]), i < 6 ? 1560 : 1260, knopfTop[i], i < 6 ? 915 : 1215, 255});
        l.push_back({f1, f1, QStringLiteral("Zahlen_%1").arg(i), 2640, zelleTop[i], 615, 255});
    }
    l.push_back({f1, f1, QStringLiteral("Zahlen_13"), 2640, 6240, 615, 255});
    l.push_back({f1, f1, QStringLiteral("Zahlen_14"), 9420, 5850, 615, 255});
    l.push_back({f1, f1, QStringLiteral("Zahlen_15"), 6900, 6435, 3375, 255});
    l.push_back({f1, f1, QStringLiteral("Zahlen_16"), 3360, 6240, 1155, 255});
    const int summenTop[4] = {2340, 2655, 3015, 5850};
    for (int i = 0; i < 4; ++i) l.push_back({f1, f1, QStringLiteral("Label1_%1").arg(i), 2640, summenTop[i], 615, 285});
    l.push_back({f1, f1, QStringLiteral("Label3"), 3480, 2745, 6675, 465});
    const int namenTop[6] = {135, 315, 540, 720, 990, 1170}, punkteTop[6] = {135, 315, 585, 765, 990, 1170};
    for (int i = 0; i < 6; ++i) {
        l.push_back({f1, f1, QStringLiteral("Label2_%1").arg(i), 7560, namenTop[i], 1815, 240});
        l.push_back({f1, f1, QStringLiteral("Punkt_%1").arg(i), 9540, punkteTop[i], i == 0 ? 735 : 915, 195});
    }
    const int ruheLeft[5] = {3840, 5160, 6480, 7800, 9000}, ablageLeft[5] = {4200, 5280, 6360, 7560, 8640};
    for (int i = 0; i < 5; ++i) {
        l.push_back({f1, f1, QStringLiteral("w1_%1").arg(i), ruheLeft[i], 3720, 750, 750});
        l.push_back({f1, f1, QStringLiteral("Raus_%1").arg(i), ablageLeft[i], i < 4 ? 1680 : 1665, 855, 855});
    }
    for (const char* name : {"Command17", "Command3"}) l.push_back({f1, f1, QLatin1String(name), 7080, 5640, 2115, 555});
    l.push_back({f1, f1, QStringLiteral("Check1"), 4860, 180, 1995, 195});
    l.push_back({f1, f1, QStringLiteral("Command2"), -1800, 7425, 2415, 1215});

    // The start window.
    const QString f2 = QStringLiteral("Form2");
    l.push_back({f2, f2, {}, 0, 0, 9615, 7500});
    l.push_back({f2, f2, QStringLiteral("Label5"), 60, 60, 2055, 255});
    l.push_back({f2, f2, QStringLiteral("Image3"), 0, 0, 135, 105});
    const int listenLeft[4] = {420, 1680, 2940, 4260};
    for (int i = 0; i < 4; ++i) l.push_back({f2, f2, QStringLiteral("Command2_%1").arg(i), listenLeft[i], 360, 1095, 240});
    l.push_back({f2, f2, QStringLiteral("Label4"), 180, 660, 5715, 420});
    for (int k = 0; k < 20; ++k) {
        const int top = k < 10 ? 1155 + 270 * k : 3990 + 270 * (k - 10);
        l.push_back({f2, f2, QStringLiteral("Label3_%1").arg(k), 600, top, 795, 240});
        l.push_back({f2, f2, QStringLiteral("Vorname_%1").arg(k), 1500, top, 2415, 240});
        l.push_back({f2, f2, QStringLiteral("Punkt_%1").arg(k), 4080, k == 0 ? 1140 : top, 1335, 240});
    }
    l.push_back({f2, f2, QStringLiteral("Line1"), 120, 3855, 5520, 15});
    for (int i = 0; i < 6; ++i) l.push_back({f2, f2, QStringLiteral("Option2_%1").arg(i), i < 3 ? 6060 : 7800, 405 + 495 * (i % 3), 1620, 465});
    l.push_back({f2, f2, QStringLiteral("Picture1"), 6900, 2100, 1635, 2400});
    const int laengeTop[4] = {0, 630, 1260, 1845};
    for (int i = 0; i < 4; ++i) l.push_back({f2, QStringLiteral("Picture1"), QStringLiteral("Option1_%1").arg(i), 0, laengeTop[i], 1605, 465});
    l.push_back({f2, f2, QStringLiteral("Command1"), 6300, 4590, 2955, 1050});
    l.push_back({f2, f2, QStringLiteral("Command3"), 840, 6840, 2115, 510});
    l.push_back({f2, f2, QStringLiteral("Label2_0"), 7020, 5760, 1995, 330});
    l.push_back({f2, f2, QStringLiteral("Label2_1"), 7020, 6240, 1995, 330});
    l.push_back({f2, f2, QStringLiteral("Label1"), 7020, 6720, 2295, 330});

    // The About dialog; all but the frame lie in the frame.
    const QString ab = QStringLiteral("frmAbout"), rahmen = QStringLiteral("Frame1");
    l.push_back({ab, ab, {}, 0, 0, 5910, 2535});
    l.push_back({ab, ab, rahmen, 120, 0, 5715, 2415});
    l.push_back({ab, rahmen, QStringLiteral("Label4"), 570, 315, 1965, 195});
    l.push_back({ab, rahmen, QStringLiteral("Label1_0"), 1140, 855, 3855, 375});
    l.push_back({ab, rahmen, QStringLiteral("Label1_2"), 1020, 1200, 3855, 375});
    l.push_back({ab, rahmen, QStringLiteral("Label1_3"), 960, 1560, 3855, 375});
    l.push_back({ab, rahmen, QStringLiteral("Label6"), 1080, 2040, 3435, 195});
    l.push_back({ab, rahmen, QStringLiteral("cmdOK"), 4380, 240, 1020, 345});
    return l;
}

} // namespace

class TstFensterlage : public QObject {
    Q_OBJECT

private slots:
    // The windows as a player opens them: the start window with its About
    // dialog, and the game window of six players with the coach's controls.
    void initTestCase() {
        m_start = std::make_unique<Programm>(m_artwork);
        m_start->klick2(QStringLiteral("Label5"));
        m_spiel = std::make_unique<Programm>(m_artwork);
        QVERIFY(m_spiel->spielStarten(6));
        m_spiel->anwendung.form1()->tippAnbieten(m_tipptabelle);
    }

    void jedesSteuerelementAnSeinemPlatz_data() {
        QTest::addColumn<QWidget*>("in");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("platz");
        QWidget* start = m_start->anwendung.form2();
        const QMap<QString, QWidget*> fenster{
            {"Form1", m_spiel->anwendung.form1()}, {"Form2", start}, {"frmAbout", start->findChild<wk::FrmAbout*>()}};
        for (const Ort& o : lage()) {
            QWidget* f = fenster[o.fenster];
            QTest::addRow("%s %s", qPrintable(o.fenster), o.name.isEmpty() ? "inner size" : qPrintable(o.name))
                << (o.in == o.fenster ? f : Programm::in(f, o.in)) << o.name << inPixeln(o);
        }
    }
    void jedesSteuerelementAnSeinemPlatz() {
        QFETCH(QWidget*, in);
        QFETCH(QString, name);
        QFETCH(QRect, platz);
        QVERIFY(in);
        // The window itself has its inner size as its place.
        const QList<QWidget*> treffer = name.isEmpty() ? QList<QWidget*>{in} : in->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly);
        QCOMPARE(treffer.size(), 1);
        QCOMPARE(name.isEmpty() ? treffer[0]->rect() : treffer[0]->geometry(), platz);
    }

    // What the program adds to the game window, shown or not, lies on free
    // felt: it covers no control of the layout and no place a die tumbles through.
    void zusaetzlichesLiegtNurAufFreiemFilz() {
        QMap<QString, QRect> belegt{{QStringLiteral("tumbling dice"), inPixeln({{}, {}, {}, 3600, 3360, 9990 - 3600, 4850 - 3360})}};
        for (const Ort& o : lage()) {
            if (o.fenster == QLatin1String("Form1") && !o.name.isEmpty()) belegt[o.name] = inPixeln(o);
        }
        for (QWidget* w : m_spiel->anwendung.form1()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            // A layer that only draws marks lets every click through.
            if (belegt.contains(w->objectName()) || w->isWindow() || w->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;
            for (const QRect& r : belegt) QVERIFY2(!w->geometry().intersects(r), qPrintable(w->objectName()));
        }
    }

private:
    wk::Artwork m_artwork{1.0};
    // The coach's table, never computed.
    wk::Tipptabelle m_tipptabelle{[](const wk::Verteiler&) { return std::unique_ptr<wk::Tabelle>(); }};
    std::unique_ptr<Programm> m_start, m_spiel;
};

QTEST_MAIN(TstFensterlage)
#include "tst_fensterlage.moc"
