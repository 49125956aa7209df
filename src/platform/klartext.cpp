// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/klartext.h"

#include <QLabel>
#include <QMessageBox>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

namespace wk {

namespace {

constexpr QChar Auslassung(0x2026);

// `text` with the isolates it opens (U+2066..U+2068) closed at its end.
QString geschlossen(const QString& text) {
    int offen = 0;
    for (const QChar c : text) {
        if (c.unicode() >= 0x2066 && c.unicode() <= 0x2068) ++offen;
        if (c.unicode() == 0x2069 && offen > 0) --offen;
    }
    return text + QString(offen, QChar(0x2069));
}

// At most LaengsterText characters of `text`, a character never split.
QString begrenzt(const QString& text) {
    if (text.size() <= LaengsterText) return text;
    const qsizetype n = text[LaengsterText - 1].isHighSurrogate() ? LaengsterText - 1 : LaengsterText;
    return geschlossen(text.left(n)) + Auslassung;
}

} // namespace

QString isoliert(const QString& text) {
    return text.isEmpty() ? text : QChar(0x2068) + text + QChar(0x2069);
}

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
    const QString voll = begrenzt(text);
    const QString zeile = einzeilig(voll);
    const int platz = label.contentsRect().width() - 2 * label.margin() - label.indent() - 2;
    // Qt closes an isolate that the elision cuts, after the "…".
    const QString gekuerzt = label.fontMetrics().elidedText(zeile, Qt::ElideRight, qMax(platz, 8));
    label.setText(gekuerzt);
    label.setToolTip(gekuerzt == zeile ? QString() : klartextTooltip(voll));
    label.setAccessibleDescription(voll);
}

void zeigeName(QLabel& label, const QString& name) { zeigeText(label, isoliert(name)); }

void zeigeText(QMessageBox& box, const QString& text, int breite) {
    QStringList zeilen = text.split(QLatin1Char('\n'));
    for (QString& zeile : zeilen) {
        if (zeile.size() > 2 * LaengsterText) zeile = zeile.left(LaengsterText) + zeile.right(LaengsterText);
        zeile = box.fontMetrics().elidedText(zeile, Qt::ElideMiddle, breite);
    }
    box.setTextFormat(Qt::PlainText);
    box.setText(zeilen.join(QLatin1Char('\n')));
}

} // namespace wk
