// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/klartext.h"

#include <QLabel>
#include <QMessageBox>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

namespace wk {

QString ausUtf8(std::string_view text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
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

QString klartextTooltip(const QString& text) {
    // A tooltip has no text format of its own: written as escaped rich text
    // that keeps blanks and line breaks, every character shows as itself.
    if (text.isEmpty()) {
        return {};
    }
    return QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(text.toHtmlEscaped());
}

void zeigeText(QLabel& label, const QString& text) {
    const QVariant bisher = label.property("wkVollerText");
    if (bisher.isValid() && bisher.toString() == text) {
        return;
    }
    label.setProperty("wkVollerText", text);
    label.setTextFormat(Qt::PlainText);
    const QString zeile = einzeilig(text);
    const int platz = label.contentsRect().width() - 2 * label.margin() - label.indent() - 2;
    const QString gekuerzt = label.fontMetrics().elidedText(zeile, Qt::ElideRight, qMax(platz, 8));
    label.setText(gekuerzt);
    label.setToolTip(gekuerzt == zeile ? QString() : klartextTooltip(text));
    label.setAccessibleDescription(text);
}

void zeigeText(QMessageBox& box, const QString& text, int breite) {
    QStringList zeilen = text.split(QLatin1Char('\n'));
    for (QString& zeile : zeilen) {
        zeile = box.fontMetrics().elidedText(zeile, Qt::ElideMiddle, breite);
    }
    box.setTextFormat(Qt::PlainText);
    box.setText(zeilen.join(QLatin1Char('\n')));
}

} // namespace wk
