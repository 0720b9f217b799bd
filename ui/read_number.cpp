#include "ui/read_number.hpp"

#include <cmath>
#include <limits>
#include <string>

#include "model/format.hpp"

namespace orvane::ui {

namespace {

float toSingle(double v) {
  if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) throw InputOverflow();
  return static_cast<float>(v);
}

// The leading number of `text`; blanks inside it are skipped, a text that
// does not start with a number reads as 0.
double lenient(const QString& text) {
  std::string digits;
  int i = 0;
  const int n = static_cast<int>(text.size());
  auto skipBlanks = [&] {
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  };
  auto takeDigits = [&] {
    bool any = false;
    for (skipBlanks(); i < n && text[i].isDigit(); skipBlanks()) {
      digits += static_cast<char>(text[i++].unicode());
      any = true;
    }
    return any;
  };
  skipBlanks();
  if (i < n && (text[i] == '+' || text[i] == '-')) digits += static_cast<char>(text[i++].unicode());
  bool mantissa = takeDigits();
  if (i < n && text[i] == '.') {
    digits += '.';
    ++i;
    mantissa = takeDigits() || mantissa;
  }
  if (!mantissa) return 0;
  if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    const std::string keep = digits;
    const int at = i;
    digits += 'e';
    ++i;
    skipBlanks();
    if (i < n && (text[i] == '+' || text[i] == '-'))
      digits += static_cast<char>(text[i++].unicode());
    if (!takeDigits()) {
      digits = keep;
      i = at;
    }
  }
  return std::stod(digits);
}

}  // namespace

int decimalFlagFor(const QLocale& locale) {
  const QString shown = locale.toString(1.1, 'f', 1);
  return QString::compare(shown, QStringLiteral("1.1"), Qt::CaseSensitive) < 0   ? -1
         : QString::compare(shown, QStringLiteral("1.1"), Qt::CaseSensitive) > 0 ? 1
                                                                                 : 0;
}

double readStrict(const QString& text) {
  QString t = text.trimmed();
  t.replace(',', '.');
  bool ok = false;
  const double v = QLocale::c().toDouble(t, &ok);
  if (!ok) throw InputMismatch();
  return v;
}

float readNumber(const QString& text, int decimalFlag) {
  QString t = text;
  int start = 0;
  while (start < t.size() && t[start] == ' ') ++start;
  t = t.mid(start);
  if (decimalFlag == 0) {
    t.replace(',', '.');
    return toSingle(lenient(t));
  }
  return toSingle(readStrict(t));
}

QString showNumber(double value, const char* pattern, int decimalFlag) {
  QString s = QString::fromStdString(orvane::format(value, pattern));
  if (decimalFlag != 0) s.replace('.', ',');
  return s;
}

QString showPlain(double value, int decimalFlag) {
  QString s = QString::fromStdString(orvane::generalNumber(value));
  if (decimalFlag != 0) s.replace('.', ',');
  return s;
}

}  // namespace orvane::ui
