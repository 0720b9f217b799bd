#include "ui_fixture.hpp"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include "ui/common/ui_font.hpp"

namespace orvane::ui::test {

Harness::Harness(const QLocale& locale, const QString& recoveryFolder) {
  QLocale::setDefault(QLocale::c());
  useUiFont();  // as the program does, not the machine's default face
  MessageBox::setSink(&messages);
  WindowOptions options;
  options.dataFolder = QStringLiteral(ORVANE_SHIPPED_DATA);
  options.settings = &settings;
  options.locale = locale;
  options.recoveryFolder = recoveryFolder;
  window = std::make_unique<MainWindow>(options);
  window->show();
  QApplication::setActiveWindow(window.get());
  if (!QTest::qWaitForWindowActive(window.get())) qWarning("window not active");
}

Harness::~Harness() { MessageBox::setSink(nullptr); }

QLineEdit* Harness::field(const char* name) const { return get<QLineEdit>(name); }

void Harness::type(const char* name, const QString& text) {
  QLineEdit* f = field(name);
  f->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();  // the field selects its text once the focus settled
  // typing replaces the selection; what the keyboard cannot type comes as
  // an input method commits it
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 128;
  if (ascii)
    QTest::keyClicks(f, text);
  else
    f->insert(text);
}

void Harness::leaveTo(const char* to) { get(to)->setFocus(Qt::TabFocusReason); }

void Harness::enter() {
  QWidget* w = QApplication::focusWidget();
  if (w) QTest::keyClick(w, Qt::Key_Return);
}

QString Harness::focused() const {
  QWidget* w = QApplication::focusWidget();
  return w ? w->objectName() : QString();
}

bool Harness::focusColour(const char* name) const {
  return field(name)->palette().color(QPalette::Base) == QColor(255, 255, 192);
}

QString pdfText(const QString& pdf, int page) {
  QStringList args{QStringLiteral("-layout")};
  if (page > 0)
    args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
         << QString::number(page);
  QProcess p;
  p.start(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  p.waitForFinished(30000);
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                     .match(QString::fromUtf8(p.readAllStandardOutput()));
  return m.hasMatch() ? m.captured(1).toInt() : -1;
}

RealBoxes::RealBoxes() {
  MessageBox::setSink(nullptr);
  timer_.setInterval(20);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    QWidget* owner = modal->parentWidget() ? modal->parentWidget()->window() : nullptr;
    if (auto* text = modal->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
      texts << text->text();
      QTest::keyClick(modal, Qt::Key_Return);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    }
    // as a window manager does, a moment after the box has gone
    if (owner)
      QTimer::singleShot(30, owner, [owner] {
        if (!QApplication::activeModalWidget()) QApplication::setActiveWindow(owner);
      });
  });
  timer_.start();
}

RealBoxes::~RealBoxes() { MessageBox::setSink(nullptr); }

void TextRecorder::print(const std::string& text, bool newline) {
  items.push_back({text, x_, y_, bold_, color_});
  if (newline) {
    x_ = 0;
    y_ += 1;
  } else {
    x_ += textWidth(text);
  }
}

const Printed* TextRecorder::find(const std::string& text) const {
  for (const Printed& p : items)
    if (p.text == text) return &p;
  return nullptr;
}

}  // namespace orvane::ui::test
