// The one place where the program shows a message box.
//
// Every warning of the window goes through MessageBox::warn. The program
// shows a modal box with the exclamation icon, the caption of the field it
// is about as its title (the application's title otherwise) and one OK
// button; tests install a recorder instead, which keeps the texts and titles
// and shows nothing. Every question (Save / Discard / Cancel before work is
// dropped, restoring unsaved work) goes through MessageBox::ask the same way.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace orvane::ui {

inline constexpr const char* kAppTitle = "Orvane DNV";

// The questions the program asks, with the standard buttons of each, and
// the answers.
enum class Question { SaveDiscardCancel, YesNo };
enum class Answer { Save, Discard, Cancel, Yes, No };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void exclamation(QWidget* parent, const QString& text, const QString& title) = 0;
  virtual Answer question(QWidget* parent, const QString& text, Question kind) {
    (void)parent;
    (void)text;
    return kind == Question::YesNo ? Answer::No : Answer::Cancel;
  }
};

class MessageBox final {
 public:
  // `title`: the caption of the field the warning is about; empty: the
  // application's title.
  static void warn(QWidget* parent, const QString& text, const QString& title = {});
  // A modal question with the question icon, the application's title and
  // the standard buttons of `kind` (Save or Yes the default); Escape or
  // closing the box is Cancel, or No.
  static Answer ask(QWidget* parent, const QString& text, Question kind);
  // Replaces the real boxes (nullptr restores them); the sink is not owned.
  static void setSink(MessageSink* sink);

  MessageBox() = delete;
};

// Keeps every text shown; `onShow` lets a test act while the "box" is open,
// as a user would before pressing OK.
class RecordingMessages final : public MessageSink {
 public:
  void exclamation(QWidget* parent, const QString& text, const QString& title) override;
  // Each question's text is kept; it is answered by the next of `answers`,
  // Discard (or No) when none is left.
  Answer question(QWidget* parent, const QString& text, Question kind) override;
  QStringList texts;
  QStringList titles;  // as shown: the application's title when none was given
  QStringList questions;
  QList<Answer> answers;
  std::function<void(const QString&)> onShow;
};

}  // namespace orvane::ui
