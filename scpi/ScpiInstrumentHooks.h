#pragma once

#include <functional>
#include <string>

/// What the common commands ask of the instrument behind a session. A hook left empty gets
/// the neutral answer noted beside it.
struct CScpiInstrumentHooks {
    /// *IDN?: maker,model,serial,firmware ("UNKNOWN,SCPI,0,0").
    std::function<std::string()> m_identify;
    /// *RST: the instrument's reset state (nothing).
    std::function<void()> m_reset;
    /// *TST?: 0 when the self-test passed (0).
    std::function<int()> m_selfTest;
    /// *OPC, *OPC?, *WAI: are all operations complete? (always).
    std::function<bool()> m_operationsComplete;
};
