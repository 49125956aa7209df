#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace wk {

// Places a top-level window in the middle of its screen's available area.
void zentrieren(QWidget& fenster);

// A user's text as one line of plain text: tabs and line breaks become blanks.
QString einzeilig(const QString& text);

// Shows `text` as plain text in one line, elided at the right when it does not
// fit the label. The full text is the label's tooltip (when elided) and its
// accessible description. Does nothing when the text is unchanged.
void zeigeText(QLabel& label, const QString& text);

} // namespace wk
