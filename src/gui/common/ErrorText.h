#pragma once

#include <string>
#include <string_view>

namespace qloom {

// The general error report's text: a full stop is appended when the last character's code is
// above that of "." (so letters and digits get one; ".", "!" and ")" do not).
std::string ErrorReportText(std::string_view message);

} // namespace qloom
