#pragma once

#include <functional>
#include <string>

namespace wk {

// The per-user settings store of the application: text values by section and
// key. Implementations never throw; a value that cannot be read is reported as
// missing, and a write that fails is logged and otherwise ignored.
class Einstellungen {
public:
    virtual ~Einstellungen() = default;

    // The stored text, or `vorgabe` when the key is missing or unreadable.
    virtual std::string lesen(const std::string& abschnitt, const std::string& schluessel,
                              const std::string& vorgabe) const = 0;

    virtual void schreiben(const std::string& abschnitt, const std::string& schluessel,
                           const std::string& wert) = 0;

    // Runs `arbeit` as one transaction: no other program writes the store
    // meanwhile, reads inside see the store as it is now, and the writes made
    // inside are saved together when it returns.
    virtual void gesperrt(const std::function<void()>& arbeit) { arbeit(); }
};

} // namespace wk
