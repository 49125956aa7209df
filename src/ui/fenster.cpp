#include "ui/fenster.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace wk {

void zentrieren(QWidget& fenster) {
    QScreen* bildschirm = fenster.screen() ? fenster.screen() : QGuiApplication::primaryScreen();
    if (!bildschirm) {
        return;
    }
    const QRect frei = bildschirm->availableGeometry();
    const QSize groesse = fenster.frameGeometry().size();
    fenster.move(frei.x() + (frei.width() - groesse.width()) / 2,
                 frei.y() + (frei.height() - groesse.height()) / 2);
}

QString einzeilig(const QString& text) {
    QString zeile = text;
    for (QChar& c : zeile) {
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            c = u' ';
        }
    }
    return zeile;
}

void zeigeText(QLabel& label, const QString& text) {
    const QVariant bisher = label.property("wkVollerText");
    if (bisher.isValid() && bisher.toString() == text) {
        return;
    }
    label.setProperty("wkVollerText", text);
    const QString zeile = einzeilig(text);
    const int platz = label.contentsRect().width() - 2 * label.margin() - label.indent() - 2;
    const QString gekuerzt = label.fontMetrics().elidedText(zeile, Qt::ElideRight, qMax(platz, 8));
    label.setText(gekuerzt);
    label.setToolTip(gekuerzt == zeile ? QString() : text);
    label.setAccessibleDescription(text);
}

} // namespace wk
