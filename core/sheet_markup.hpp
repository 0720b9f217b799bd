// Text of the calculation sheet: the trace's symbol notation as HTML, and
// numbers with four significant digits, locale-independent.
#pragma once

#include <string>
#include <string_view>

#include "core/calc_trace.hpp"

namespace orvane {

// `text` with &, < and > escaped and "_x", "_{..}", "^x", "^{..}" turned
// into <sub> and <sup>.
std::string markupHtml(std::string_view text);

// Four significant digits, e.g. "3333", "0.7021", "−12.50"→"−12.5",
// "1.235·10^{5}" (in the trace's notation, for markupHtml). Zero is "0".
std::string sigDigits(double value);

// The formula of a step with "$k" replaced by the operands' symbols
// (`numbers` false) or values (true; negative values in parentheses).
std::string fillFormula(const TraceStep& step, bool numbers);

}  // namespace orvane
