// Runs the inputs kept in tests/fuzz/corpus through the checks of the fuzz
// targets, so that the normal test run guards against every fault the
// fuzzer has found, without clang.

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "pruefungen.h"

namespace {

void zeilenFuer(const QString& ziel) {
    const QDir korpus(QStringLiteral(FUZZ_KORPUS "/") + ziel);
    const QStringList dateien = korpus.entryList(QDir::Files, QDir::Name);
    for (const QString& name : dateien) {
        QFile datei(korpus.filePath(name));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QTest::addRow("%s", qPrintable(name)) << datei.readAll();
    }
}

} // namespace

class TstFuzzKorpus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }

    void einstellungen_haltenAllePruefungen_data() {
        QTest::addColumn<QByteArray>("eingabe");
        zeilenFuer(QStringLiteral("einstellungen"));
    }

    void einstellungen_haltenAllePruefungen() {
        QFETCH(QByteArray, eingabe);
        const QTemporaryDir ordner;

        const std::string fehler = wk::fuzz::einstellungenPruefen(eingabe.toStdString(), ordner.path());

        QCOMPARE(QString::fromStdString(fehler), QString());
    }

    void zahltext_haeltAllePruefungen_data() {
        QTest::addColumn<QByteArray>("eingabe");
        zeilenFuer(QStringLiteral("zahltext"));
    }

    void zahltext_haeltAllePruefungen() {
        QFETCH(QByteArray, eingabe);

        QCOMPARE(QString::fromStdString(wk::fuzz::zahltextPruefen(eingabe.toStdString())), QString());
    }
};

QTEST_GUILESS_MAIN(TstFuzzKorpus)
#include "tst_fuzzkorpus.moc"
