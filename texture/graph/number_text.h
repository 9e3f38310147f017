#pragma once

#include <string>

namespace tex {

// The shortest decimal text that reads back as exactly `value`: 0.01, 10,
// -2147483648, 1e+300.
std::string numberText(double value);

} // namespace tex
