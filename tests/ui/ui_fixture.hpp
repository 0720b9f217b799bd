// A main window on the shipped data, with recorded messages, an in-memory
// recent-file store, a pinned number format and the program's own face,
// for the window tests.
#pragma once

#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "core/panels.hpp"
#include "files/recent_files.hpp"
#include "ui/common/message_box.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui::test {

struct Harness {
  explicit Harness(const QLocale& locale = QLocale::c(), const QString& recoveryFolder = {});
  ~Harness();

  QLineEdit* field(const char* name) const;
  template <class T = QWidget>
  T* get(const char* name) const {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w) qFatal("no control %s", name);
    return w;
  }
  // Focus into the field, type the text as a user would (replacing the
  // selection), and move the focus to `to`.
  void type(const char* name, const QString& text);
  void leaveTo(const char* to);
  void enter();
  QString focused() const;
  bool focusColour(const char* name) const;

  RecordingMessages messages;
  MemorySettingsStore settings;
  std::unique_ptr<MainWindow> window;
};

// Lets the real message boxes appear (in place of the recorder) and answers
// each with Enter once it is open, as a user would; other modal dialogs are
// cancelled. `texts` keeps the boxes' messages.
class RealBoxes final {
 public:
  RealBoxes();
  ~RealBoxes();
  QStringList texts;

 private:
  QTimer timer_;
};

// The text of a PDF as pdftotext -layout reads it: one page, or all (0).
QString pdfText(const QString& pdf, int page = 0);
// Its page count as pdfinfo says it; -1 when it cannot be read.
int pdfPages(const QString& pdf);

// Records what a drawing operation prints.
struct Printed {
  std::string text;
  double x, y;
  bool bold;
  int color;
};
class TextRecorder final : public DrawTarget {
 public:
  void cls() override { items.clear(); }
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void setUnderline(bool) override {}
  void setBold(bool on) override { bold_ = on; }
  void setForeColor(int palette) override { color_ = palette; }
  double textWidth(const std::string& text) override { return static_cast<double>(text.size()); }
  void print(const std::string& text, bool newline) override;
  const Printed* find(const std::string& text) const;
  std::vector<Printed> items;

 private:
  double x_ = 0, y_ = 0;
  bool bold_ = false;
  int color_ = 0;
};

}  // namespace orvane::ui::test
