// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <string_view>

class QLabel;
class QMessageBox;

namespace wk {

// Text that comes from a player or from the settings file reaches the screen
// through these functions only. It is shown exactly as it stands: never read
// as markup (Qt decides by itself that a label or tooltip holding "<b>" or
// "<img src=…>" is rich text, and would load such an image), never as an
// access key.

// A text of the game (UTF-8) with every character it holds: unlike
// QString::fromStdString, a leading byte-order mark is kept. Bytes that are
// not UTF-8 become U+FFFD.
QString ausUtf8(std::string_view text);

// The text as one line: tabs and line breaks become blanks.
QString einzeilig(const QString& text);

// A tooltip that shows `text` literally, line breaks included; the empty text
// for an empty one (no tooltip).
QString klartextTooltip(const QString& text);

// Shows `text` as plain text in one line, elided at the right when it does not
// fit the label. The full text is the label's tooltip (when elided) and its
// accessible description. Does nothing when the text is unchanged.
void zeigeText(QLabel& label, const QString& text);

// Sets the text of a message box as plain text; a line wider than `breite`
// logical pixels is shortened in the middle, so that a very long name does
// not stretch the box past the screen.
void zeigeText(QMessageBox& box, const QString& text, int breite);

} // namespace wk
