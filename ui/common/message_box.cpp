#include "ui/common/message_box.hpp"

#include <QMessageBox>

namespace orvane::ui {

namespace {
MessageSink* gSink = nullptr;
}

void MessageBox::warn(QWidget* parent, const QString& text) {
  if (gSink) {
    gSink->exclamation(parent, text);
    return;
  }
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppTitle), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

void MessageBox::setSink(MessageSink* sink) { gSink = sink; }

void RecordingMessages::exclamation(QWidget* parent, const QString& text) {
  (void)parent;
  texts << text;
  if (onShow) onShow(text);
}

}  // namespace orvane::ui
