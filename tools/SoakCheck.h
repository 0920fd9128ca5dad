#pragma once
#include <string>
#include <vector>

class CDDSDevice;

/// Compares a settled unit of the simulated bank with the record that drives it: what the
/// unit was last sent must be what the record asks for now.
class CSoakCheck {
public:
    /// The differences between record and its unit, one line each; empty when they agree.
    /// A demo record drives no unit and has nothing to compare.
    static std::vector<std::string> Compare(const CDDSDevice& record);
};
