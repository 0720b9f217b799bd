#include "ui/common/output_device.hpp"

#include <QFile>

#include "files/input_text.hpp"
#include "files/output_file.hpp"

namespace orvane::ui {

QString writeOutput(const QString& path, const std::function<bool(QIODevice&)>& write,
                    const std::vector<std::filesystem::path>& inputs) {
  const std::filesystem::path name = QFile::encodeName(path).toStdString();
  const auto said = [](const std::string& text) {
    return QFile::decodeName(QByteArray::fromStdString(printable(text)));
  };
  Result<OutputFile> opened = OutputFile::open(name, {inputs, false});
  if (!opened) return said(opened.error().text());
  OutputFile& file = opened.value();
  QFile device(QFile::decodeName(QByteArray::fromStdString(file.temporaryPath())));
  if (!device.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return said(name.string() + ": " + device.errorString().toStdString());
  const bool painted = write(device);
  device.flush();
  const bool failed = device.error() != QFileDevice::NoError;
  const QString reason = device.errorString();
  device.close();
  if (failed) return said(name.string() + ": writing failed: " + reason.toStdString());
  if (!painted) return said(name.string() + ": cannot be drawn; nothing written");
  if (const Status done = file.commit(); !done) return said(done.error().text());
  return {};
}

}  // namespace orvane::ui
