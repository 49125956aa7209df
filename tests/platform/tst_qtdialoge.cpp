// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtdialoge.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

class TstQtDialoge : public QObject {
    Q_OBJECT

public slots:
    // Takes the links the program hands to the desktop.
    void oeffnen(const QUrl& adresse) { m_geoeffnet << adresse.toString(QUrl::FullyEncoded); }

private slots:
    void meldungZeigtKlartextMitEinemOkKnopf_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup name") << QStringLiteral("<b>Anna</b> ist mit Würfeln dran.");
        QTest::newRow("image name") << QStringLiteral("<img src=\"x.png\"> ist mit Würfeln dran.");
        QTest::newRow("entity name") << QStringLiteral("&amp; ist mit Würfeln dran.");
        QTest::newRow("name of 10000 characters") << QString(10000, 'x') + QStringLiteral(" ist mit Würfeln dran.");
        // As the game places a name: the override ends with the isolate.
        QTest::newRow("name with a right-to-left override") << QStringLiteral("\u2068\u202EAnna\u2069 ist mit Würfeln dran.");
    }
    void meldungZeigtKlartextMitEinemOkKnopf() {
        QFETCH(QString, text);
        QString gezeigt;
        sobaldOffen<QMessageBox>([&](QMessageBox* box) {
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons(), QList<QAbstractButton*>{box->button(QMessageBox::Ok)});
            QVERIFY2(box->width() < 800, qPrintable(QString::number(box->width())));
            gezeigt = box->text();
            // The program's words read left to right, after the name, as laid out on screen.
            QTextLayout zeile(gezeigt, box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->font());
            zeile.setTextOption(QTextOption(Qt::AlignLeft));
            zeile.beginLayout();
            const QTextLine eine = zeile.createLine();
            zeile.endLayout();
            const qsizetype ist = gezeigt.lastIndexOf(QStringLiteral(" ist ")), dran = gezeigt.lastIndexOf(QStringLiteral("dran"));
            QVERIFY(eine.cursorToX(ist + 1) < eine.cursorToX(dran));
            QVERIFY(eine.cursorToX(gezeigt.lastIndexOf(QStringLiteral("Anna")) + 4) < eine.cursorToX(ist + 1) || !gezeigt.contains(QStringLiteral("Anna")));
            QVERIFY(box->grab().save(QStringLiteral("%1/meldung-%2.png").arg(QCoreApplication::applicationDirPath()).arg(QTest::currentDataTag()).replace(' ', '-')));
        });
        wk::QtMeldung().zeigen(text.toStdString());
        // A line too long for the screen is shortened in the middle: its start and its end stay.
        const qsizetype mitte = gezeigt.indexOf(QChar(0x2026));
        QCOMPARE(mitte >= 0, text.size() > 1000);
        QCOMPARE(gezeigt, mitte < 0 ? text : text.left(mitte) + QChar(0x2026) + text.right(gezeigt.size() - mitte - 1));
        QVERIFY(gezeigt.endsWith(QStringLiteral(" dran.")));
    }

    void eingabeGibtDieAntwortOderNachAbbruchNichts() {
        for (const bool bestaetigen : {true, false}) {
            sobaldOffen<QInputDialog>([&](QInputDialog* dialog) {
                QCOMPARE(dialog->labelText(), QStringLiteral("Geben Sie Ihren Namen ein <b>Spieler</b>"));
                for (QLabel* label : dialog->findChildren<QLabel*>()) QCOMPARE(label->textFormat(), Qt::PlainText);
                QCOMPARE(dialog->textValue(), QStringLiteral("Spieler Name 1"));
                dialog->setTextValue(QStringLiteral("Anna"));
                bestaetigen ? dialog->accept() : dialog->reject();
            });
            QCOMPARE(wk::QtEingabe().fragen("Geben Sie Ihren Namen ein <b>Spieler</b>", "Spieler Name 1"), std::string(bestaetigen ? "Anna" : ""));
        }
    }

    // The exact links the desktop receives: the blank in the mail text goes
    // out encoded, the valid form of the link, which every mail program reads
    // as "Hallo Orwen".
    void linksErreichenDenDesktopSo() {
        for (const char* schema : {"mailto", "https"}) QDesktopServices::setUrlHandler(QLatin1String(schema), this, "oeffnen");
        wk::QtLinkOeffner().oeffnen("mailto:orwen@example.org?Subject=Hallo&Body=Hallo Orwen");
        wk::QtLinkOeffner().oeffnen("https://www.orwen.example/");
        for (const char* schema : {"mailto", "https"}) QDesktopServices::unsetUrlHandler(QLatin1String(schema));
        QCOMPARE(m_geoeffnet, (QStringList{"mailto:orwen@example.org?Subject=Hallo&Body=Hallo%20Orwen", "https://www.orwen.example/"}));
    }

private:
    // Runs `pruefen` on the modal box once it is open, then closes the box, so
    // that a failed check ends the test instead of leaving the box waiting.
    template <typename Box, typename Pruefung> static void sobaldOffen(Pruefung pruefen) {
        QTimer::singleShot(0, [pruefen = std::move(pruefen)] {
            Box* box = qobject_cast<Box*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Wurfkrone"));
            pruefen(box);
            box->close();
        });
    }

    QStringList m_geoeffnet;
};

QTEST_MAIN(TstQtDialoge)
#include "tst_qtdialoge.moc"
