// Number text of the window's fields under the user's decimal separator.
//
// The decimal flag is found once at start-up: 0 when the user's number
// format writes 1.1 as "1.1", nonzero otherwise (decimal comma). Under
// either setting a field's whole text must be one number written with that
// separator; any other text is a mismatch and the stored value is kept. The
// readers live in model/number_text; these are their QString faces.
#pragma once

#include <QLocale>
#include <QString>

#include "model/number_text.hpp"

namespace orvane::ui {

// 1.1 formatted with "0.0" in `locale`, compared with "1.1".
int decimalFlagFor(const QLocale& locale);

// Field text to a single-precision number (see above); a number beyond the
// single-precision range is OutOfRange.
NumberReading readNumber(const QString& text, int decimalFlag);

// Strict conversion of a whole text (surrounding blanks allowed), with "."
// and "," both read as the decimal separator.
NumberReading readStrict(const QString& text);

// A display pattern applied to `value`, with the user's decimal separator.
QString showNumber(double value, const char* pattern, int decimalFlag);
// A value written without pattern (as the material lists do).
QString showPlain(double value, int decimalFlag);

}  // namespace orvane::ui
