#pragma once

class QWidget;

namespace wk {

// Places a top-level window in the middle of its screen's available area.
void zentrieren(QWidget& fenster);

} // namespace wk
