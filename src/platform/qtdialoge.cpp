#include "platform/qtdialoge.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>

namespace wk {

namespace {

// Widest line a box shows, in logical pixels; a longer line (a very long
// player name) is shortened in the middle rather than stretching the box
// past the screen.
constexpr int LaengsteZeile = 480;

QString zeilenKuerzen(const QString& text, const QFontMetrics& metrik) {
    QStringList zeilen = text.split(QLatin1Char('\n'));
    for (QString& zeile : zeilen) {
        zeile = metrik.elidedText(zeile, Qt::ElideMiddle, LaengsteZeile);
    }
    return zeilen.join(QLatin1Char('\n'));
}

} // namespace

void QtMeldung::zeigen(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(Fenstertitel), QString(), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setText(zeilenKuerzen(QString::fromStdString(text), box.fontMetrics()));
    box.exec();
}

std::string QtEingabe::fragen(const std::string& prompt, const std::string& vorgabe) {
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromUtf8(Fenstertitel));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString::fromStdString(vorgabe));
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
