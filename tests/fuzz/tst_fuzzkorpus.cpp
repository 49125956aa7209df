// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

// Runs the inputs kept in tests/fuzz/corpus through the checks of the fuzz
// targets, so the normal test run guards against every fault the fuzzer found.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "pruefungen.h"

class TstFuzzKorpus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {}); }

    void korpusHaeltDiePruefungen_data() {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QByteArray>("eingabe");
        for (const QString ziel : {"einstellungen", "zahltext"}) {
            const QDir korpus(QStringLiteral(FUZZ_KORPUS "/") + ziel);
            for (const QString& name : korpus.entryList(QDir::Files, QDir::Name)) {
                QFile datei(korpus.filePath(name));
                QVERIFY(datei.open(QIODevice::ReadOnly));
                QTest::addRow("%s/%s", qPrintable(ziel), qPrintable(name)) << ziel << datei.readAll();
            }
        }
    }
    void korpusHaeltDiePruefungen() {
        QFETCH(QString, ziel);
        QFETCH(QByteArray, eingabe);
        const QTemporaryDir ordner;
        QCOMPARE(QString::fromStdString(ziel == "zahltext" ? wk::fuzz::zahltextPruefen(eingabe.toStdString())
                                                           : wk::fuzz::einstellungenPruefen(eingabe.toStdString(), ordner.path())), QString());
    }
};

QTEST_GUILESS_MAIN(TstFuzzKorpus)
#include "tst_fuzzkorpus.moc"
