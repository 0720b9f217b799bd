// The two readers of the window's number fields: any text, read as UTF-16,
// gives a value or an error, and the readers agree where both apply.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "model/number_text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);
  // the ASCII spelling of the same bytes reaches the digit paths more often
  const std::u16string bytes(data, data + size);
  for (const std::u16string& t : {text, bytes}) {
    const orvane::NumberReading lenient = orvane::readLenientNumber(t);
    const orvane::NumberReading strict = orvane::readStrictNumber(t);
    if (lenient.status == orvane::NumberReading::Mismatch) __builtin_trap();
    for (const orvane::NumberReading& r : {lenient, strict})
      if (!std::isfinite(r.value) || (!r.ok() && r.value != 0)) __builtin_trap();
    // a text that is one number with a decimal point reads alike
    const bool plain = t.find_first_not_of(u"0123456789+-.eE") == std::u16string::npos;
    if (plain && strict.ok() && (lenient.status != strict.status || lenient.value != strict.value))
      __builtin_trap();
    if (plain && strict.status == orvane::NumberReading::OutOfRange &&
        lenient.status != orvane::NumberReading::OutOfRange)
      __builtin_trap();
    for (bool comma : {false, true}) {
      const orvane::NumberReading field = orvane::readFieldNumber(t, comma);
      if (field.ok() && (std::fabs(field.value) > std::numeric_limits<float>::max() ||
                         static_cast<float>(field.value) != field.value))
        __builtin_trap();
    }
  }
  return 0;
}
