#include "ui/main/help_window.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/common/placement.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui {

namespace {

// Pages come out of the compiled help, not from the file system.
class HelpBrowser final : public QTextBrowser {
 public:
  HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {}
  QVariant loadResource(int type, const QUrl& name) override {
    if (name.scheme() == QLatin1String("qthelp")) return engine_->fileData(name);
    return QTextBrowser::loadResource(type, name);
  }

 private:
  QHelpEngine* engine_;
};

// Copies the collection and its documentation into the user's cache folder
// and returns the copy of the collection.
QString privateCopy(const QString& collection) {
  const QFileInfo source(collection);
  const QString dir =
      QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/help");
  QDir().mkpath(dir);
  const QStringList files =
      QDir(source.absolutePath()).entryList({QStringLiteral("*.qhc"), QStringLiteral("*.qch")});
  for (const QString& name : files) {
    const QString from = source.absolutePath() + QLatin1Char('/') + name;
    const QString to = dir + QLatin1Char('/') + name;
    if (QFileInfo(to).lastModified() != QFileInfo(from).lastModified() ||
        QFileInfo(to).size() != QFileInfo(from).size()) {
      QFile::remove(to);
      QFile::copy(from, to);
      QFile copy(to);
      copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner);
      if (copy.open(QIODevice::ReadWrite)) {
        copy.setFileTime(QFileInfo(from).lastModified(), QFileDevice::FileModificationTime);
      }
    }
  }
  return dir + QLatin1Char('/') + source.fileName();
}

QPointer<HelpWindow> theWindow;

}  // namespace

HelpWindow::HelpWindow(const QString& collection, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("help"));
  setWindowTitle(QStringLiteral("Orvane DNV Help"));
  resize(960, 680);
  engine_ = new QHelpEngine(privateCopy(collection), this);
  ready_ = engine_->setupData();

  tabs_ = new QTabWidget;
  tabs_->addTab(engine_->contentWidget(), QStringLiteral("Contents"));
  auto* indexPane = new QWidget;
  auto* indexLayout = new QVBoxLayout(indexPane);
  auto* filter = new QLineEdit;
  filter->setObjectName(QStringLiteral("indexFilter"));
  filter->setPlaceholderText(QStringLiteral("Type a keyword"));
  indexLayout->addWidget(filter);
  indexLayout->addWidget(engine_->indexWidget());
  tabs_->addTab(indexPane, QStringLiteral("Index"));
  auto* searchPane = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchPane);
  QHelpSearchEngine* search = engine_->searchEngine();
  searchLayout->addWidget(search->queryWidget());
  searchLayout->addWidget(search->resultWidget());
  tabs_->addTab(searchPane, QStringLiteral("Search"));

  browser_ = new HelpBrowser(engine_, this);
  browser_->setObjectName(QStringLiteral("helpPage"));
  auto* split = new QSplitter;
  split->addWidget(tabs_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(split);

  connect(engine_->contentWidget(), &QHelpContentWidget::linkActivated, this, &HelpWindow::openUrl);
  connect(engine_->indexWidget(), &QHelpIndexWidget::documentActivated, this,
          [this](const QHelpLink& link) { openUrl(link.url); });
  connect(engine_->indexWidget(), &QHelpIndexWidget::documentsActivated, this,
          [this](const QList<QHelpLink>& links) {
            if (!links.isEmpty()) openUrl(links.first().url);
          });
  connect(filter, &QLineEdit::textChanged, engine_->indexWidget(),
          [this](const QString& text) { engine_->indexWidget()->filterIndices(text); });
  connect(search->queryWidget(), &QHelpSearchQueryWidget::search, search,
          [search] { search->search(search->queryWidget()->searchInput()); });
  connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this,
          &HelpWindow::openUrl);
  // The full-text index is built once per copy of the collection.
  search->scheduleIndexDocumentation();

  const QStringList namespaces = engine_->registeredDocumentations();
  if (!namespaces.isEmpty())
    openUrl(QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(namespaces.first())));
}

HelpWindow::~HelpWindow() = default;

QString HelpWindow::defaultCollection() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/help/orvane.qhc");
}

HelpWindow* HelpWindow::open(Page page, QWidget* owner) {
  if (!theWindow) {
    theWindow = new HelpWindow(defaultCollection(), owner);
    const auto* main = qobject_cast<const MainWindow*>(owner);
    placeBeside(theWindow, owner, main ? main->resultArea() : QRect());
  }
  theWindow->showPage(page);
  theWindow->show();
  theWindow->raise();
  theWindow->activateWindow();
  return theWindow;
}

void HelpWindow::showPage(Page page) {
  tabs_->setCurrentIndex(static_cast<int>(page));
  if (page == Page::Search) engine_->searchEngine()->queryWidget()->setFocus();
}

QUrl HelpWindow::currentUrl() const { return browser_->source(); }

void HelpWindow::openUrl(const QUrl& url) { browser_->setSource(url); }

}  // namespace orvane::ui
