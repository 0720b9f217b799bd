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

Answer MessageBox::ask(QWidget* parent, const QString& text, Question kind) {
  if (gSink) return gSink->question(parent, text, kind);
  const bool yesNo = kind == Question::YesNo;
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kAppTitle), text,
                  yesNo ? QMessageBox::Yes | QMessageBox::No
                        : QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                  parent);
  box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Save);
  box.setEscapeButton(yesNo ? QMessageBox::No : QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Save:
      return Answer::Save;
    case QMessageBox::Discard:
      return Answer::Discard;
    case QMessageBox::Yes:
      return Answer::Yes;
    default:  // also a box closed by its title bar
      return yesNo ? Answer::No : Answer::Cancel;
  }
}

void MessageBox::setSink(MessageSink* sink) { gSink = sink; }

void RecordingMessages::exclamation(QWidget* parent, const QString& text, const QString& title) {
  (void)parent;
  texts << text;
  titles << title;
  if (onShow) onShow(text);
}

Answer RecordingMessages::question(QWidget* parent, const QString& text, Question kind) {
  (void)parent;
  questions << text;
  if (!answers.isEmpty()) return answers.takeFirst();
  return kind == Question::YesNo ? Answer::No : Answer::Discard;
}

}  // namespace orvane::ui
