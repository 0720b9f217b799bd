// The help window of the Help menu: the compiled help collection with its
// table of contents, keyword index and full-text search.
#pragma once

#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

class QHelpEngine;
class QTabWidget;

namespace orvane::ui {

class HelpWindow final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(HelpWindow)

 public:
  enum class Page { Contents = 0, Index = 1, Search = 2 };

  // `collection` is the .qhc file; the window works on a private copy of it
  // (the installed one may be read-only, and the search index needs a
  // place to live).
  explicit HelpWindow(const QString& collection, QWidget* parent = nullptr);
  ~HelpWindow() override;

  // The one help window of the program, shown on `page`.
  static HelpWindow* open(Page page, QWidget* owner);
  // The collection beside the program: <program folder>/help/orvane.qhc.
  static QString defaultCollection();

  void showPage(Page page);
  QHelpEngine* engine() const { return engine_; }
  bool isReady() const { return ready_; }
  QUrl currentUrl() const;
  void openUrl(const QUrl& url);

 private:
  QHelpEngine* engine_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTextBrowser* browser_ = nullptr;
  bool ready_ = false;
};

}  // namespace orvane::ui
