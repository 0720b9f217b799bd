// Typesets the theory manual: the HTML chapters of a folder, in file-name
// order, into one A4 PDF with page numbers.
//   orvane-make-manual <folder of *.html> <output.pdf>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: orvane-make-manual FOLDER OUTPUT.pdf\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  QString html;
  const QStringList chapters =
      folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
  for (const QString& name : chapters) {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "orvane-make-manual: cannot read %s\n", qPrintable(file.fileName()));
      return 1;
    }
    html += QString::fromUtf8(file.readAll());
  }
  if (html.isEmpty()) {
    std::fprintf(stderr, "orvane-make-manual: no chapters in %s\n", argv[1]);
    return 1;
  }
  const QString output = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(QFileInfo(output).absolutePath());
  QPdfWriter writer(output);
  writer.setTitle(QStringLiteral("Orvane DNV Theory Manual"));
  writer.setCreator(QStringLiteral("Orvane DNV"));
  writer.setResolution(300);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
  QTextDocument doc;
  QFont font(QStringLiteral("Liberation Serif"));
  font.setStyleHint(QFont::Serif);
  font.setPointSizeF(10.5);
  doc.setDefaultFont(font);
  doc.setDefaultStyleSheet(QStringLiteral(
      "h1 { color: #005598; font-size: 20pt; } h2 { color: #005598; font-size: 14pt; }"
      "h3 { font-size: 11.5pt; } table { border-collapse: collapse; }"
      "td, th { padding: 3px; } .eq { font-family: 'Liberation Serif'; font-style: italic; }"
      ".ref { color: #555555; }"));
  doc.setHtml(html);
  // QTextDocument::print() paginates and numbers the pages itself.
  doc.print(&writer);
  return 0;
}
