// What the tool reports while the object lives, kept instead of printed; the
// scanner's console texts reach it through the engine, as in a run.
#pragma once

#include "base/Diagnostics.h"
#include "compose/ScannerMessages.h"

#include <string>

namespace testutil {

class Captured {
public:
    Captured() : m_Guard(m_Consumer) { ScannerMessages::Install(); }

    // The texts of one stream so far.
    std::string Out() const { return m_Consumer.Out(); }
    std::string Err() const { return m_Consumer.Err(); }
    // Both streams, in the order reported: the console of a run.
    std::string All() const { return m_Consumer.All(); }
    // Starts anew: what was kept so far is forgotten.
    void Clear() { m_Consumer.Clear(); }
    CapturingConsumer const& Consumer() const { return m_Consumer; }

private:
    CapturingConsumer m_Consumer;
    DiagnosticsGuard m_Guard;
};

} // namespace testutil
