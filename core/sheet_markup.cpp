#include "core/sheet_markup.hpp"

#include <algorithm>
#include <cmath>

#include "model/number_chars.hpp"

namespace orvane {

namespace {

// Length of the UTF-8 character that starts with byte `c`.
size_t utf8Length(unsigned char c) {
  if (c >= 0xF0) return 4;
  if (c >= 0xE0) return 3;
  if (c >= 0xC0) return 2;
  return 1;
}

// U+0300 to U+036F, the combining diacritical marks.
bool isCombining(char first, char second) {
  const auto a = static_cast<unsigned char>(first), b = static_cast<unsigned char>(second);
  return a == 0xCC || (a == 0xCD && b < 0xB0);
}

void appendEscaped(std::string& out, std::string_view s) {
  for (char c : s) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
}

}  // namespace

std::string markupHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 16);
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if ((c == '_' || c == '^') && i + 1 < text.size()) {
      const char* tag = c == '_' ? "sub" : "sup";
      std::string_view part;
      if (text[i + 1] == '{') {
        const size_t close = text.find('}', i + 2);
        const size_t end = close == std::string_view::npos ? text.size() : close;
        part = text.substr(i + 2, end - i - 2);
        i = end + 1;
      } else {
        // one character with the combining marks that follow it
        const size_t start = i + 1;
        size_t end = start + utf8Length(static_cast<unsigned char>(text[start]));
        while (end + 1 < text.size() && isCombining(text[end], text[end + 1])) end += 2;
        end = std::min(end, text.size());
        part = text.substr(start, end - start);
        i = end;
      }
      out += '<';
      out += tag;
      out += '>';
      out += markupHtml(part);
      out += "</";
      out += tag;
      out += '>';
      continue;
    }
    const size_t n = utf8Length(static_cast<unsigned char>(c));
    appendEscaped(out, text.substr(i, n));
    i += n;
  }
  return out;
}

std::string sigDigits(double value) {
  if (value == 0 || !std::isfinite(value)) return value == 0 ? "0" : "–";
  char buf[48];
  const double mag = std::fabs(value);
  std::string text;
  if (mag >= 1e5 || mag < 1e-3) {
    std::string s(buf, chars::scientific(buf, buf + sizeof buf, mag, 3));
    const size_t e = s.find('e');
    std::string mant = s.substr(0, e);
    const int exp = std::stoi(s.substr(e + 1));
    while (mant.find('.') != std::string::npos && (mant.back() == '0' || mant.back() == '.'))
      mant.pop_back();
    text = mant + "·10^{" + (exp < 0 ? "−" + std::to_string(-exp) : std::to_string(exp)) + "}";
  } else {
    const int digits = static_cast<int>(std::floor(std::log10(mag))) + 1;
    const int decimals = std::max(0, 4 - digits);
    text.assign(buf, chars::fixed(buf, buf + sizeof buf, mag, decimals));
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
  }
  return value < 0 ? "−" + text : text;
}

std::string fillFormula(const TraceStep& step, bool numbers) {
  std::string out;
  const std::string_view f = step.formula;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '$' && i + 1 < f.size() && f[i + 1] >= '0' && f[i + 1] <= '9') {
      const size_t k = static_cast<size_t>(f[i + 1] - '0');
      ++i;
      if (k >= step.operandCount) continue;
      const TraceOperand& op = step.operands[k];
      if (!numbers) {
        out += op.symbol;
      } else {
        // a negative value or a power of ten stays one factor in the formula
        const std::string v = sigDigits(op.value);
        const bool group = op.value < 0 || v.find("·10^") != std::string::npos;
        out += group ? "(" + v + ")" : v;
      }
      continue;
    }
    out += f[i];
  }
  return out;
}

}  // namespace orvane
