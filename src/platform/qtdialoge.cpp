// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qtdialoge.h"

#include "platform/klartext.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>

namespace wk {

namespace {

// Widest line a box shows, in logical pixels.
constexpr int LaengsteZeile = 480;

} // namespace

void QtMeldung::zeigen(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(Fenstertitel), QString(), QMessageBox::Ok,
                    QApplication::activeWindow());
    zeigeText(box, ausUtf8(text), LaengsteZeile);
    box.exec();
}

std::string QtEingabe::fragen(const std::string& prompt, const std::string& vorgabe) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromUtf8(Fenstertitel));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(ausUtf8(prompt));
    dialog.setTextValue(ausUtf8(vorgabe));
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.textValue().toStdString();
}

void QtLinkOeffner::oeffnen(const std::string& adresse) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(adresse), QUrl::TolerantMode));
}

} // namespace wk
