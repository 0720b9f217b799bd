#include "ui/main/forces_dialog.hpp"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/panels.hpp"
#include "model/format.hpp"
#include "ui/common/read_number.hpp"

namespace orvane::ui {

namespace {

constexpr std::array<const char*, 6> kUnits{"kN", "kNm", "kNm", "kNm", "kN", "kN"};

QLineEdit* numberField(const char* name) {
  auto* f = new QLineEdit;
  f->setObjectName(QString::fromLatin1(name));
  f->setAlignment(Qt::AlignRight);
  f->setMaxLength(20);
  f->setMinimumWidth(f->fontMetrics().horizontalAdvance(QStringLiteral("-0000000.000")) + 8);
  return f;
}

}  // namespace

ForcesDialog::ForcesDialog(OpenedProject base, int decimalFlag, QWidget* parent)
    : QDialog(parent), base_(std::move(base)), decimalFlag_(decimalFlag) {
  setObjectName(QStringLiteral("forces"));
  setWindowTitle(QStringLiteral("Section forces"));
  auto* layout = new QVBoxLayout(this);
  auto* g = new QGridLayout;
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  for (size_t i = 0; i < forces_.size(); ++i) {
    const QString name = QString::fromLatin1(kForceNames[i].data(), kForceNames[i].size());
    const int row = static_cast<int>(i % 3), column = i < 3 ? 0 : 3;
    forces_[i] = numberField(("force" + std::string(kForceNames[i])).c_str());
    g->addWidget(new QLabel(name + QStringLiteral(" =")), row, column, right);
    g->addWidget(forces_[i], row, column + 1);
    g->addWidget(new QLabel(QString::fromLatin1(kUnits[i])), row, column + 2);
    connect(forces_[i], &QLineEdit::textChanged, this, &ForcesDialog::update);
  }
  g->setColumnMinimumWidth(3, 24);
  layout->addLayout(g);

  auto* where = new QGridLayout;
  governing_ = new QRadioButton(QStringLiteral("Governing point"));
  governing_->setObjectName(QStringLiteral("governing"));
  governing_->setToolTip(
      QStringLiteral(" The angle of the largest ratio of usage factor to allowable value "));
  fixed_ = new QRadioButton(QStringLiteral("Fixed angle  theta ="));
  fixed_->setObjectName(QStringLiteral("fixed"));
  theta_ = numberField("theta");
  governing_->setChecked(true);
  theta_->setEnabled(false);
  where->addWidget(governing_, 0, 0, 1, 3);
  where->addWidget(fixed_, 1, 0);
  where->addWidget(theta_, 1, 1);
  where->addWidget(new QLabel(QStringLiteral("deg")), 1, 2);
  where->setColumnStretch(3, 1);
  layout->addLayout(where);
  connect(fixed_, &QRadioButton::toggled, this, [this](bool on) {
    theta_->setEnabled(on);
    update();
  });
  connect(theta_, &QLineEdit::textChanged, this, &ForcesDialog::update);

  points_ = new QTableWidget(0, 6);
  points_->setObjectName(QStringLiteral("points"));
  points_->setHorizontalHeaderLabels({QStringLiteral("check"), QStringLiteral("theta (deg)"),
                                      QStringLiteral("Sigx (MPa)"), QStringLiteral("Tau (MPa)"),
                                      QStringLiteral("UF"), QStringLiteral("allowable")});
  points_->verticalHeader()->hide();
  points_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  points_->setSelectionMode(QAbstractItemView::NoSelection);
  points_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  points_->setMinimumHeight(points_->horizontalHeader()->sizeHint().height() * 6);
  layout->addWidget(points_, 1);

  result_ = new QLabel;
  result_->setObjectName(QStringLiteral("result"));
  result_->setWordWrap(true);
  layout->addWidget(result_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  update();
  resize(sizeHint().width() + points_->horizontalHeader()->length() / 2, sizeHint().height());
}

QString ForcesDialog::number(double value, const char* pattern) const {
  return showNumber(value, pattern, decimalFlag_);
}

// The fewest digits that read back as the stored single; the full double
// where a field's reading would round them otherwise.
QString stressText(double stored, int decimalFlag) {
  QString text = QString::fromStdString(fileNumber(static_cast<float>(stored)));
  const NumberReading back = readNumber(text, 0);
  if (!back.ok() || back.value != stored) text = QString::fromStdString(shortestText(stored));
  if (decimalFlag != 0) text.replace(QLatin1Char('.'), QLatin1Char(','));
  return text;
}

QString forcePointText(const ForcesEntry& entry, int decimalFlag) {
  const QString where =
      entry.fixed ? QStringLiteral("fixed angle")
                  : QStringLiteral("governing point, ") +
                        QString::fromLatin1(checkCaption(entry.governing.value_or(CheckId{})));
  return QStringLiteral("theta = %1 deg (%2)")
      .arg(showNumber(entry.chosen.theta, "0.0", decimalFlag), where);
}

QString ForcesDialog::sigxText() const {
  return entry_ ? stressText(entry_->chosen.sigx, decimalFlag_) : QString();
}
QString ForcesDialog::tauText() const {
  return entry_ ? stressText(entry_->chosen.tau, decimalFlag_) : QString();
}
QString ForcesDialog::pointText() const {
  return entry_ ? forcePointText(*entry_, decimalFlag_) : QString();
}

void ForcesDialog::update() {
  entry_.reset();
  points_->setRowCount(0);
  QString problem;
  SectionForces f;
  const auto read = [&](QLineEdit* field, const QString& name, double& value) {
    const QString text = field->text().trimmed();
    if (text.isEmpty() || !problem.isEmpty()) return;
    const NumberReading r = readNumber(text, decimalFlag_);
    if (r.ok())
      value = r.value;
    else
      problem = name + (r.status == NumberReading::OutOfRange ? QStringLiteral(" is out of range")
                                                              : QStringLiteral(" is no number"));
  };
  for (size_t i = 0; i < forces_.size(); ++i)
    read(forces_[i], QString::fromLatin1(kForceNames[i].data(), kForceNames[i].size()), f[i]);
  double degrees = 0;
  if (fixed_->isChecked()) read(theta_, QStringLiteral("theta"), degrees);
  if (problem.isEmpty()) {
    auto got = enterForces(base_, f, fixed_->isChecked() ? std::optional(degrees) : std::nullopt);
    if (got)
      entry_ = std::move(got.value());
    else
      problem = QString::fromStdString(got.error().message);
  }
  if (entry_ && !entry_->fixed && !entry_->governing) {
    entry_.reset();
    problem = QStringLiteral("No check is shown.");
  }
  ok_->setEnabled(entry_.has_value());
  if (!entry_) {
    result_->setText(problem);
    return;
  }
  points_->setRowCount(static_cast<int>(entry_->checks.size()));
  for (int row = 0; row < points_->rowCount(); ++row) {
    const CheckId c = entry_->checks[static_cast<size_t>(row)];
    const GoverningPoint& p = entry_->points[static_cast<size_t>(c)];
    const CheckValue& v = entry_->outcome[c];
    const QString cells[6] = {QString::fromLatin1(checkCaption(c)),
                              number(p.theta, "0.0"),
                              stressText(p.sigx, decimalFlag_),
                              stressText(p.tau, decimalFlag_),
                              number(v.uf, "0.00"),
                              number(v.allow, "0.00")};
    for (int column = 0; column < 6; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      item->setTextAlignment(column == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter);
      if (entry_->governing == c) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      points_->setItem(row, column, item);
    }
  }
  result_->setText(QStringLiteral("OK enters Sigx = %1 and Tau = %2 MPa at %3.")
                       .arg(sigxText(), tauText(), pointText()));
}

}  // namespace orvane::ui
