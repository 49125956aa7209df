#pragma once

#include "platform/fensteroben.h"

#include <utility>
#include <vector>

// Records which window was to be kept on top, and how.
class FakeFensterOben : public wk::FensterOben {
public:
    void fenster_oben(QWidget& fenster, bool oben) override { aufrufe.emplace_back(&fenster, oben); }
    std::vector<std::pair<QWidget*, bool>> aufrufe;
};
