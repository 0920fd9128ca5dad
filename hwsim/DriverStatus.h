#pragma once
// What became of the driver library named by DDSTARN_DRIVER, for the program to tell its user.
#include <string>

/// Why the named driver library is not used, naming its path (no generator is found then);
/// empty when it is used or none is named.
std::string SimDriverProblem();
