#include "ui/common/read_number.hpp"

#include "model/format.hpp"

namespace orvane::ui {

namespace {

std::u16string_view view(const QString& text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

}  // namespace

int decimalFlagFor(const QLocale& locale) {
  const QString shown = locale.toString(1.1, 'f', 1);
  return QString::compare(shown, QStringLiteral("1.1"), Qt::CaseSensitive) < 0   ? -1
         : QString::compare(shown, QStringLiteral("1.1"), Qt::CaseSensitive) > 0 ? 1
                                                                                 : 0;
}

NumberReading readStrict(const QString& text) { return readStrictNumber(view(text)); }

NumberReading readNumber(const QString& text, int decimalFlag) {
  return readFieldNumber(view(text), decimalFlag != 0);
}

QString showNumber(double value, const char* pattern, int decimalFlag) {
  QString s = QString::fromStdString(orvane::format(value, pattern));
  if (decimalFlag != 0) s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s;
}

QString showPlain(double value, int decimalFlag) {
  QString s = QString::fromStdString(orvane::generalNumber(value));
  if (decimalFlag != 0) s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s;
}

}  // namespace orvane::ui
