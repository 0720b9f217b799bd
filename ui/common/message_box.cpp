#include "ui/common/message_box.hpp"

#include <QMessageBox>

namespace orvane::ui {

namespace {
MessageSink* gSink = nullptr;
}

void MessageBox::warn(QWidget* parent, const QString& text, const QString& title) {
  const QString shown = title.isEmpty() ? QString::fromUtf8(kAppTitle) : title;
  if (gSink) {
    gSink->exclamation(parent, text, shown);
    return;
  }
  QMessageBox box(QMessageBox::Warning, shown, text, QMessageBox::Ok, parent);
  box.exec();
}

void MessageBox::setSink(MessageSink* sink) { gSink = sink; }

void RecordingMessages::exclamation(QWidget* parent, const QString& text, const QString& title) {
  (void)parent;
  texts << text;
  titles << title;
  if (onShow) onShow(text);
}

}  // namespace orvane::ui
