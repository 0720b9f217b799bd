// Typesets the theory manual: the HTML chapters of a folder, in file-name
// order, into one A4 PDF with page numbers. Given the data folder, a last
// chapter of worked examples is computed by the calculation core of this very
// build, so the manual's figures are the program's figures.
//   orvane-make-manual <folder of *.html> <output.pdf> [<data folder>]
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
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"
#include "model/format.hpp"
#include "model/project_state.hpp"

namespace {

QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// The inputs of the new-project defaults that the examples share.
QString defaultInputs() {
  orvane::ProjectState ps;
  orvane::assignDefaults(ps);
  using orvane::format;
  std::ostringstream s;
  s << "r = " << format(ps.r, "0") << " mm, t = " << format(ps.t, "0.0")
    << " mm, l = " << format(ps.l, "0") << " mm, L = " << format(ps.L, "0")
    << " mm, s = " << format(ps.s, "0") << " mm, E = " << format(ps.E, "0.00E+0")
    << " MPa; sigx = " << format(ps.sigx, "0.0") << ", sigy = " << format(ps.sigy, "0.0")
    << ", tau = " << format(ps.tau, "0.0") << " MPa, pd = " << format(ps.pd, "0.000")
    << " MPa; column loads N = " << format(ps.N, "0.0") << " kN, M1a = " << format(ps.M1a, "0.0")
    << ", M1b = " << format(ps.M1b, "0.0") << ", M2a = " << format(ps.M2a, "0.0")
    << ", M2b = " << format(ps.M2b, "0.0") << " kNm, k1 = " << format(ps.k1, "0.00")
    << ", k2 = " << format(ps.k2, "0.00") << "; LRFD with allowable usage factor "
    << format(ps.ufb, "0.00") << ".";
  return escaped(s.str());
}

// The result panels of the defaults in one cylinder type, exactly as the
// headless check prints them; empty (with a message) if the check fails.
QString checkText(const std::string& dataDir, int cyltype, bool& ok) {
  std::ostringstream out, err;
  const int code = orvane::cli::run(
      {"check", "--data", dataDir, "--set", "cyltype=" + std::to_string(cyltype)}, out, err);
  ok = code == 0 || code == 1;
  if (!ok) std::fprintf(stderr, "orvane-make-manual: %s", err.str().c_str());
  return escaped(out.str());
}

QString workedExamples(const std::string& dataDir, bool& ok) {
  static const char* const kModes[4] = {"Unstiffened cylinder", "Ring-stiffened cylinder",
                                        "Stringer-stiffened cylinder with ring frames",
                                        "Column buckling"};
  QString html =
      QStringLiteral(
          "<h2>8 Worked examples: the new-project defaults</h2>"
          "<p>The results below were computed by this release of the program when the manual was "
          "typeset: the new-project defaults with the shipped material and profile tables, with "
          "only the cylinder type changed. They are the result panels as the program prints them, "
          "and serve to check an installation: <tt>orvane-cli check --set cyltype=N</tt> must "
          "print the same lines.</p><p>Inputs: %1</p>")
          .arg(defaultInputs());
  ok = true;
  for (int type = 0; type < 4; ++type) {
    bool typeOk = false;
    html += QStringLiteral("<h3>8.%1 %2</h3><pre>%3</pre>")
                .arg(type + 1)
                .arg(QString::fromLatin1(kModes[type]), checkText(dataDir, type, typeOk));
    ok = ok && typeOk;
  }
  return html;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: orvane-make-manual FOLDER OUTPUT.pdf [DATA]\n");
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
  if (argc == 4) {
    bool ok = false;
    const QString examples = workedExamples(argv[3], ok);
    if (!ok) return 1;
    const qsizetype end = html.lastIndexOf(QStringLiteral("</body>"));
    html.insert(end < 0 ? html.size() : end, examples);
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
