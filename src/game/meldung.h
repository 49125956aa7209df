// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace wk {

// A modal message box titled "Wurfkrone" with a single OK button. The text is
// shown as plain text, never as markup. The call returns once the player has
// pressed OK.
class Meldung {
public:
    virtual ~Meldung() = default;
    virtual void zeigen(const std::string& text) = 0;
};

} // namespace wk
