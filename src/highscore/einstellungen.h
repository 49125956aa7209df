// SPDX-FileCopyrightText: 2026 Orwen
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string>
#include <vector>

namespace wk {

// The per-user settings store of the application: text values by section and
// key. Implementations never throw; a value that cannot be read is reported as
// missing, and a write that fails is logged and otherwise ignored.
class Einstellungen {
public:
    virtual ~Einstellungen() = default;

    // The texts of `schluessel` in `abschnitt`, in that order, all from one
    // state of the store, without waiting for another program: a save that
    // another program makes meanwhile is seen wholly or not at all. `vorgabe`
    // stands for a key that is missing or unreadable. Inside gesperrt(), the
    // store as it is now with the writes made so far.
    virtual std::vector<std::string> lesen(const std::string& abschnitt, const std::vector<std::string>& schluessel,
                                           const std::string& vorgabe) const = 0;

    // Outside gesperrt(), a transaction of its own.
    virtual void schreiben(const std::string& abschnitt, const std::string& schluessel,
                           const std::string& wert) = 0;

    // Runs `arbeit` as one transaction: no other program writes the store
    // meanwhile, and the writes made inside are saved together when it
    // returns. A call inside a running transaction joins it.
    virtual void gesperrt(const std::function<void()>& arbeit) { arbeit(); }
};

} // namespace wk
