// The readers of the window's number fields: any text, read as UTF-16,
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
    const orvane::NumberReading either = orvane::readStrictNumber(t);
    if (!std::isfinite(either.value) || (!either.ok() && either.value != 0)) __builtin_trap();
    for (bool comma : {false, true}) {
      const orvane::NumberReading field = orvane::readFieldNumber(t, comma);
      if (!std::isfinite(field.value) || (!field.ok() && field.value != 0)) __builtin_trap();
      if (field.ok() && (std::fabs(field.value) > std::numeric_limits<float>::max() ||
                         static_cast<float>(field.value) != field.value))
        __builtin_trap();
      // what a field takes, the reader of either separator takes alike
      if (field.ok() && (!either.ok() || static_cast<float>(either.value) != field.value))
        __builtin_trap();
    }
  }
  return 0;
}
