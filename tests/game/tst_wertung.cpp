#include "game/wertung.h"

#include <QtTest>

namespace {

// "33-2-" puts the dice 3, 3, 2 into boxes 0, 1, 3; '-' is an empty box.
std::array<wk::Wuerfelbox, 5> boxen(const QString& muster) {
    std::array<wk::Wuerfelbox, 5> b;
    for (int i = 0; i < 5; ++i) {
        const QChar c = muster.at(i);
        b[i].Tag = c == '-' ? std::string() : std::string(1, c.toLatin1());
        b[i].Visible = c != '-';
    }
    return b;
}

int zelleVon(const QString& beschriftung) {
    for (const wk::Kategorie& k : wk::Kategorien) {
        if (QString::fromUtf8(k.beschriftung.data(), k.beschriftung.size()) == beschriftung) {
            return k.zelle;
        }
    }
    return -1;
}

} // namespace

class TstWertung : public QObject {
    Q_OBJECT

private slots:
    void jedeKategorieZaehltTischUndAblage_data() {
        QTest::addColumn<QString>("tisch");
        QTest::addColumn<QString>("ablage");
        QTest::addColumn<QString>("kategorie");
        QTest::addColumn<int>("punkte");

        QTest::newRow("five sixes in 6er") << "66666" << "-----" << "6er" << 30;
        QTest::newRow("sixes split table/tray") << "6-6-6" << "-6-6-" << "6er" << 30;
        QTest::newRow("same index in tray and table") << "--2--" << "1-2-3" << "2er" << 4;
        QTest::newRow("no die shows the face") << "12345" << "-----" << "6er" << 0;
        QTest::newRow("ones") << "1--1-" << "--5-1" << "1er" << 3;
        QTest::newRow("all boxes empty") << "-----" << "-----" << "3er" << 0;

        QTest::newRow("33322 Full Haus") << "333--" << "22---" << "Full Haus" << 25;
        QTest::newRow("33322 3er Pasch") << "33322" << "-----" << "3er Pasch" << 13;
        QTest::newRow("33322 4er Pasch") << "33322" << "-----" << "4er Pasch" << 0;
        QTest::newRow("three 4s with 2 and 6") << "4-4-6" << "-4-2-" << "3er Pasch" << 20;
        QTest::newRow("44442 4er Pasch") << "44442" << "-----" << "4er Pasch" << 18;
        QTest::newRow("44442 3er Pasch") << "-----" << "44442" << "3er Pasch" << 18;
        QTest::newRow("44442 Full Haus") << "44442" << "-----" << "Full Haus" << 0;
        QTest::newRow("44442 Wurfkrone") << "44442" << "-----" << "Wurfkrone" << 0;
        QTest::newRow("two pairs Full Haus") << "22335" << "-----" << "Full Haus" << 0;
        QTest::newRow("two pairs 3er Pasch") << "22335" << "-----" << "3er Pasch" << 0;

        QTest::newRow("66666 Wurfkrone") << "666--" << "---66" << "Wurfkrone" << 150;
        QTest::newRow("66666 Full Haus") << "66666" << "-----" << "Full Haus" << 25;
        QTest::newRow("66666 3er Pasch") << "66666" << "-----" << "3er Pasch" << 30;
        QTest::newRow("66666 4er Pasch") << "66666" << "-----" << "4er Pasch" << 30;
        QTest::newRow("66666 Chance") << "66666" << "-----" << "Chance" << 30;
        QTest::newRow("66666 Kleine Strasse (no joker)") << "66666" << "-----" << "Kleine Strasse" << 0;
        QTest::newRow("66666 Grosse Strasse (no joker)") << "66666" << "-----" << "Grosse Strasse" << 0;

        QTest::newRow("12346 Kleine Strasse") << "12346" << "-----" << "Kleine Strasse" << 30;
        QTest::newRow("12346 Grosse Strasse") << "12346" << "-----" << "Grosse Strasse" << 0;
        QTest::newRow("12345 Kleine Strasse") << "12---" << "--345" << "Kleine Strasse" << 30;
        QTest::newRow("12345 Grosse Strasse") << "12---" << "--345" << "Grosse Strasse" << 40;
        QTest::newRow("23456 Grosse Strasse") << "65432" << "-----" << "Grosse Strasse" << 40;
        QTest::newRow("12345 Chance") << "12345" << "-----" << "Chance" << 15;
        QTest::newRow("23456 Chance") << "23-56" << "---4-" << "Chance" << 20;
        QTest::newRow("12456 no run of four") << "12456" << "-----" << "Kleine Strasse" << 0;
        QTest::newRow("pair inside the run") << "12234" << "-----" << "Kleine Strasse" << 30;
        QTest::newRow("34566 top run") << "34566" << "-----" << "Kleine Strasse" << 30;
        QTest::newRow("empty table Chance") << "-----" << "-----" << "Chance" << 0;
        QTest::newRow("empty table Full Haus") << "-----" << "-----" << "Full Haus" << 0;
    }
    void jedeKategorieZaehltTischUndAblage() {
        QFETCH(QString, tisch);
        QFETCH(QString, ablage);
        QFETCH(QString, kategorie);
        QFETCH(int, punkte);
        const int zelle = zelleVon(kategorie);
        QVERIFY(zelle >= 0);
        QCOMPARE(wk::punkte(wk::Kategorien[zelle], boxen(tisch), boxen(ablage)), punkte);
    }

    void summenUndBonus_data() {
        QTest::addColumn<QStringList>("zellen");  // cells 0..12
        QTest::addColumn<QStringList>("summen");  // Label1 0..3, then Zahlen 13
        QTest::newRow("upper 63 earns the bonus")
            << QStringList{"3", "6", "9", "12", "15", "18", "0", "0", "0", "0", "0", "0", "0"}
            << QStringList{"63", "100", "163", "0", "163"};
        QTest::newRow("upper 62 does not")
            << QStringList{"2", "6", "9", "12", "15", "18", "0", "0", "0", "0", "0", "0", "0"}
            << QStringList{"62", "0", "62", "0", "62"};
        QTest::newRow("only Chance")
            << QStringList{"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "23"}
            << QStringList{"0", "0", "0", "23", "23"};
        QTest::newRow("full sheet")
            << QStringList{"3", "8", "9", "16", "20", "24", "22", "18", "25", "30", "40", "150", "21"}
            << QStringList{"80", "100", "180", "306", "486"};
    }
    void summenUndBonus() {
        QFETCH(QStringList, zellen);
        QFETCH(QStringList, summen);
        std::array<std::string, 17> zahlen;
        zahlen.fill("0");
        for (int i = 0; i < 13; ++i) {
            zahlen[i] = zellen[i].toStdString();
        }
        std::array<std::string, 4> label1{"0", "0", "0", "0"};
        wk::summenBilden(zahlen, label1);
        QStringList ist;
        for (const std::string& s : label1) {
            ist << QString::fromStdString(s);
        }
        ist << QString::fromStdString(zahlen[13]);
        QCOMPARE(ist, summen);
    }

    void bonusBleibtWennErEinmalGeschriebenIst() {
        std::array<std::string, 17> zahlen;
        zahlen.fill("0");
        std::array<std::string, 4> label1{"0", "0", "0", "0"};
        zahlen[5] = "30";
        zahlen[4] = "25";
        zahlen[3] = "8";
        wk::summenBilden(zahlen, label1);
        QCOMPARE(label1[1], std::string("100"));
        wk::summenBilden(zahlen, label1);
        QCOMPARE(label1[2], std::string("163"));
        QCOMPARE(zahlen[13], std::string("163"));
    }
};

QTEST_GUILESS_MAIN(TstWertung)
#include "tst_wertung.moc"
