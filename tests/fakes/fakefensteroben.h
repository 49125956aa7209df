#pragma once

#include "platform/fensteroben.h"

#include <vector>

// Records which window was to be kept on top, and how.
class FakeFensterOben : public wk::FensterOben {
public:
    void fenster_oben(QWidget& fenster, bool oben) override {
        aufrufe.push_back({&fenster, oben});
    }

    struct Aufruf {
        QWidget* fenster;
        bool oben;
    };
    std::vector<Aufruf> aufrufe;
};
