// Section forces in the main window: the "Forces..." dialog opened on the
// project as it stands, a load case's forces, each turned into the Sigx
// and Tau of a point by the project layer and typed into the fields.
#include "model/format.hpp"
#include "project/forces_entry.hpp"
#include "ui/common/message_box.hpp"
#include "ui/common/read_number.hpp"
#include "ui/main/forces_dialog.hpp"
#include "ui/main/main_window.hpp"

namespace orvane::ui {

ForcesDialog* MainWindow::openForces() {
  if (!finishFieldEdit()) return nullptr;
  auto* dialog =
      new ForcesDialog(OpenedProject{.state = ps_, .fault = session_.fault()}, decimalFlag_, this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFont(font());
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    if (!dialog->entry()) return;
    // the dialog goes once it is closed: its texts first
    const std::vector<std::string> stresses{"sigx=" + dialog->sigxText().toStdString(),
                                            "tau=" + dialog->tauText().toStdString()};
    const QString point = dialog->pointText();
    if (typeInputs(stresses).isEmpty())
      showNotice(QStringLiteral("Forces: Sigx and Tau at ") + point);
  });
  dialog->open();
  return dialog;
}

bool MainWindow::typeForces(const std::vector<std::string>& columns,
                            const std::vector<std::string>& values) {
  SectionForces f;
  for (size_t i = 0; i < columns.size() && i < values.size(); ++i) {
    const std::string& name = columns[i];
    for (size_t k = 0; k < kForceNames.size(); ++k) {
      if (kForceNames[k] != name || values[i].find_first_not_of(" \t") == std::string::npos)
        continue;
      const auto value = parseFileNumber(values[i]);
      if (!value) {
        MessageBox::warn(this, QString::fromStdString("value of " + name + " is not a number: '" +
                                                      values[i] + "'"));
        return false;
      }
      f[k] = *value;
    }
  }
  // the row's other values are in the fields now: the project as it stands
  const auto entry = enterForces(OpenedProject{.state = ps_, .fault = session_.fault()}, f, {});
  if (!entry || !entry.value().governing) {
    MessageBox::warn(this, entry ? QStringLiteral("No check is shown.")
                                 : QString::fromStdString(entry.error().message));
    return false;
  }
  const ForcesEntry& e = entry.value();
  const QStringList refused =
      typeInputs({"sigx=" + stressText(e.chosen.sigx, decimalFlag_).toStdString(),
                  "tau=" + stressText(e.chosen.tau, decimalFlag_).toStdString()});
  if (!refused.isEmpty()) return false;
  showNotice(QStringLiteral("Forces: Sigx and Tau at ") + forcePointText(e, decimalFlag_));
  return true;
}

}  // namespace orvane::ui
