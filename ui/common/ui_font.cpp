#include "ui/common/ui_font.hpp"

#include <QApplication>
#include <QStringList>

namespace orvane::ui {

QFont uiFont() {
  QFont f;
  f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
  f.setStyleHint(QFont::SansSerif);
  f.setPointSize(9);
  return f;
}

void useUiFont() { QApplication::setFont(uiFont()); }

}  // namespace orvane::ui
