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
#include <QTimer>

#include <functional>

namespace {

// Runs `pruefen` on the modal box once it is open; `pruefen` closes it.
template <typename Box> void sobaldOffen(std::function<void(Box*)> pruefen) {
    QTimer::singleShot(0, [pruefen = std::move(pruefen)] {
        Box* box = qobject_cast<Box*>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("Wurfkrone"));
        pruefen(box);
    });
}

// Takes the links the program hands to the desktop.
class Desktop : public QObject {
    Q_OBJECT

public:
    Desktop() {
        for (const char* schema : {"mailto", "https"}) QDesktopServices::setUrlHandler(QLatin1String(schema), this, "oeffnen");
    }
    ~Desktop() override {
        for (const char* schema : {"mailto", "https"}) QDesktopServices::unsetUrlHandler(QLatin1String(schema));
    }
    QStringList geoeffnet;

public slots:
    void oeffnen(const QUrl& adresse) { geoeffnet << adresse.toString(QUrl::FullyEncoded); }
};

} // namespace

class TstQtDialoge : public QObject {
    Q_OBJECT

private slots:
    void meldungZeigtKlartextMitEinemOkKnopf_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("refusal") << QStringLiteral(" Du hast noch nicht gewürfelt.");
        QTest::newRow("markup name") << QStringLiteral("<b>Anna</b> ist mit Würfeln dran.");
        QTest::newRow("image name") << QStringLiteral("<img src=\"x.png\"> ist mit Würfeln dran.");
        QTest::newRow("entity name") << QStringLiteral("&amp; ist mit Würfeln dran.");
        QTest::newRow("name of 10000 characters") << QString(10000, 'x') + QStringLiteral(" ist mit Würfeln dran.");
    }
    void meldungZeigtKlartextMitEinemOkKnopf() {
        QFETCH(QString, text);
        int geprueft = 0;
        sobaldOffen<QMessageBox>([&](QMessageBox* box) {
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons(), QList<QAbstractButton*>{box->button(QMessageBox::Ok)});
            // A line too long for the screen is shortened in the middle.
            const qsizetype mitte = box->text().indexOf(QChar(0x2026));
            QCOMPARE(mitte >= 0, text.size() > 1000);
            QCOMPARE(box->text(), mitte < 0 ? text : text.left(mitte) + QChar(0x2026) + text.right(box->text().size() - mitte - 1));
            QVERIFY2(box->width() < 800, qPrintable(QString::number(box->width())));
            ++geprueft;
            box->buttons().first()->click();
        });
        wk::QtMeldung().zeigen(text.toStdString());
        QCOMPARE(geprueft, 1);
    }

    void eingabeGibtDieAntwortOderNachAbbruchNichts_data() {
        QTest::addColumn<bool>("bestaetigen");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void eingabeGibtDieAntwortOderNachAbbruchNichts() {
        QFETCH(bool, bestaetigen);
        sobaldOffen<QInputDialog>([&](QInputDialog* dialog) {
            QCOMPARE(dialog->labelText(), QStringLiteral("Geben Sie Ihren Namen ein <b>Spieler</b>"));
            for (QLabel* label : dialog->findChildren<QLabel*>()) QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(dialog->textValue(), QStringLiteral("Spieler Name 1"));
            dialog->setTextValue(QStringLiteral("Anna"));
            bestaetigen ? dialog->accept() : dialog->reject();
        });
        QCOMPARE(QString::fromStdString(wk::QtEingabe().fragen("Geben Sie Ihren Namen ein <b>Spieler</b>", "Spieler Name 1")),
                 bestaetigen ? QStringLiteral("Anna") : QString());
    }

    // The exact links the desktop receives: the blank in the mail text goes
    // out encoded, the valid form of the link, which every mail program reads
    // as "Hallo Orwen".
    void linksErreichenDenDesktopSo_data() {
        QTest::addColumn<QString>("adresse");
        QTest::addColumn<QString>("amDesktop");
        QTest::newRow("mail") << "mailto:orwen@example.org?Subject=Hallo&Body=Hallo Orwen"
                              << "mailto:orwen@example.org?Subject=Hallo&Body=Hallo%20Orwen";
        QTest::newRow("web") << "https://www.orwen.example/" << "https://www.orwen.example/";
    }
    void linksErreichenDenDesktopSo() {
        QFETCH(QString, adresse);
        QFETCH(QString, amDesktop);
        Desktop desktop;
        wk::QtLinkOeffner().oeffnen(adresse.toStdString());
        QCOMPARE(desktop.geoeffnet, QStringList{amDesktop});
    }
};

QTEST_MAIN(TstQtDialoge)
#include "tst_qtdialoge.moc"
