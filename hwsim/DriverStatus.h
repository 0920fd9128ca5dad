#pragma once
// What became of the driver library named by DDSTARN_DRIVER, for the program to tell its user.
#include <string>

/// Why the named driver library is not used, naming its path (no generator is found then);
/// empty when it is used or none is named.
std::string SimDriverProblem();
/// Whether the built-in simulated units answer the generator calls: no driver library is named.
/// The program then tells its user that its generators are simulated.
bool SimBankInUse();
