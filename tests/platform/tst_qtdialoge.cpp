#include "platform/qtdialoge.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace {

// Runs `pruefen` on the modal box once it is open.
void sobaldOffen(std::function<void(QWidget*)> pruefen) {
    QTimer::singleShot(0, [pruefen = std::move(pruefen)] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box);
        pruefen(box);
    });
}

} // namespace

class TstQtDialoge : public QObject {
    Q_OBJECT

private slots:
    void meldungZeigtKlartextMitEinemOkKnopf_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("refusal") << QStringLiteral(" Du hast noch nicht gewürfelt.");
        QTest::newRow("markup name") << QStringLiteral("<b>Anna</b> ist mit Würfeln dran.");
        QTest::newRow("image name") << QStringLiteral("<img src=x> ist mit Würfeln dran.");
    }
    void meldungZeigtKlartextMitEinemOkKnopf() {
        QFETCH(QString, text);
        bool geprueft = false;
        sobaldOffen([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Wurfkrone"));
            QCOMPARE(box->text(), text);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->standardButton(box->buttons().first()), QMessageBox::Ok);
            geprueft = true;
            box->buttons().first()->click();
        });
        wk::QtMeldung().zeigen(text.toStdString());
        QVERIFY(geprueft);
    }

    void langeNamenSprengenDieMeldungNicht() {
        const QString name(10000, QLatin1Char('x'));
        QString gezeigt;
        int breite = 0;
        sobaldOffen([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            gezeigt = box->text();
            breite = box->width();
            box->buttons().first()->click();
        });
        wk::QtMeldung().zeigen((name + QStringLiteral(" ist mit Würfeln dran.")).toStdString());
        QVERIFY2(breite < 800, qPrintable(QString::number(breite)));
        QVERIFY(gezeigt.startsWith(QStringLiteral("xxxx")));
        QVERIFY(gezeigt.endsWith(QStringLiteral(" ist mit Würfeln dran.")));
        QVERIFY(gezeigt.contains(QChar(0x2026)));
    }

    void eingabeGibtDieAntwortOderNachAbbruchNichts_data() {
        QTest::addColumn<bool>("bestaetigen");
        QTest::addColumn<QString>("antwort");
        QTest::newRow("confirmed") << true << QStringLiteral("Spieler Name 1");
        QTest::newRow("cancelled") << false << QString();
    }
    void eingabeGibtDieAntwortOderNachAbbruchNichts() {
        QFETCH(bool, bestaetigen);
        QFETCH(QString, antwort);
        sobaldOffen([&](QWidget* w) {
            auto* dialog = qobject_cast<QInputDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Wurfkrone"));
            QCOMPARE(dialog->labelText(), QStringLiteral("Geben Sie Ihren Namen ein Spieler <1>"));
            for (QLabel* label : dialog->findChildren<QLabel*>()) {
                QCOMPARE(label->textFormat(), Qt::PlainText);
            }
            QCOMPARE(dialog->textValue(), QStringLiteral("Spieler Name 1"));
            if (bestaetigen) {
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        const std::string ergebnis =
            wk::QtEingabe().fragen("Geben Sie Ihren Namen ein Spieler <1>", "Spieler Name 1");
        QCOMPARE(QString::fromStdString(ergebnis), antwort);
    }
};

QTEST_MAIN(TstQtDialoge)
#include "tst_qtdialoge.moc"
