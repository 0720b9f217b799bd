#include "ui/cases/case_model.hpp"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QLocale>
#include <algorithm>

#include "core/panels.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"
#include "project/input_names.hpp"
#include "project/set_values.hpp"
#include "ui/cases/case_history.hpp"
#include "ui/report/report_body.hpp"

namespace orvane::cases {

namespace {

QColor colorOf(int palette) {
  const Rgb c = paletteColor(palette);
  return {c.r, c.g, c.b};
}

const QString kMarker = QStringLiteral(" \u25C4");  // after a governing usage factor

QString verdictText(const RowOutcome& o) { return QString::fromStdString(rowVerdict(o)); }

QString caseLabel(const std::string& name, int row) {
  return name.empty() ? QStringLiteral("row %1").arg(row + 1) : QString::fromStdString(name);
}

bool isColumnName(const std::string& name) { return InputSetter::find(name) || isForceName(name); }

bool blank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

// A count of rows with its thousands marked: 10,000,000.
QString count(int64_t n) {
  QLocale c = QLocale::c();
  c.setNumberOptions({});
  return c.toString(static_cast<qlonglong>(n));
}

}  // namespace

QString normalizedNumber(const QString& text) {
  QString t = text.trimmed();
  if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.')))
    t.replace(QLatin1Char(','), QLatin1Char('.'));
  return t;
}

CaseModel::CaseModel(QObject* parent)
    : QAbstractTableModel(parent), history_(new CaseHistory(*this)) {}

CaseModel::~CaseModel() = default;

int CaseModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int CaseModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : verdictColumn() + 1;
}

int CaseModel::checkColumn(CheckId check) const {
  const auto it = std::find(checks_.begin(), checks_.end(), check);
  return it == checks_.end() ? -1 : 1 + inputColumns() + static_cast<int>(it - checks_.begin());
}

bool CaseModel::outcomeColumn(int column, CheckId& check) const {
  const int i = column - 1 - inputColumns();
  if (i < 0 || i >= static_cast<int>(checks_.size())) return false;
  check = checks_[static_cast<size_t>(i)];
  return true;
}

QString CaseModel::number(double value) const {
  QString s = QString::fromStdString(format(value, "0.00"));
  if (decimalComma_) s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s;
}

QString CaseModel::angle(double degrees) const {
  QString s = QString::fromStdString(format(degrees, "0.0"));
  if (decimalComma_) s.replace(QLatin1Char('.'), QLatin1Char(','));
  return s + QChar(0x00B0);
}

QVariant CaseModel::outcomeData(int row, int column, int role) const {
  if (static_cast<size_t>(row) >= outcomes_.size()) return {};
  const RowOutcome& o = outcomes_[static_cast<size_t>(row)];
  if (column == verdictColumn()) {
    const bool ran =
        !o.fault.empty() || !o.inputError.empty() ||
        std::any_of(o.checks.begin(), o.checks.end(), [](const CheckValue& v) { return v.shown; });
    if (!ran) return {};
    switch (role) {
      case Qt::DisplayRole:
      case Qt::ToolTipRole:
        return verdictText(o);
      case Qt::ForegroundRole:
        if (computing_) return QBrush(Qt::gray);
        return QBrush(colorOf(o.status() == RowOutcome::Status::Passed ? kGreen : kRed));
      default:
        return {};
    }
  }
  CheckId check{};
  if (!outcomeColumn(column, check)) return {};
  const CheckValue& v = o[check];
  if (!v.shown) return {};
  const bool governing = summary_.governing[static_cast<size_t>(check)] == row && !computing_;
  const QString marker = governing ? kMarker : QString();
  const GoverningPoint* point =
      forceEngine_ && static_cast<size_t>(row) < points_.size() && o.fault.empty()
          ? &points_[static_cast<size_t>(row)][static_cast<size_t>(check)]
          : nullptr;
  switch (role) {
    case Qt::DisplayRole:
      if (point) return number(v.uf) + QStringLiteral(" @ ") + angle(point->theta) + marker;
      return number(v.uf) + marker;
    case Qt::ToolTipRole: {
      QString text =
          QStringLiteral("%1: %2 <= %3%4")
              .arg(QString::fromLatin1(checkCaption(check)), number(v.uf), number(v.allow),
                   governing ? QStringLiteral(" (governing)") : QString());
      if (point)
        text += QStringLiteral("\nat theta = %1 deg: Sigx = %2, Tau = %3 MPa")
                    .arg(angle(point->theta), QString::fromStdString(shortestText(point->sigx)),
                         QString::fromStdString(shortestText(point->tau)));
      return text;
    }
    case ThetaRole:
      return point ? QVariant(point->theta) : QVariant();
    case Qt::ForegroundRole:
      if (computing_) return QBrush(Qt::gray);
      return QBrush(colorOf(v.exceeded() ? kRed : kGreen));
    case Qt::FontRole: {
      QFont f;
      f.setBold(governing);
      return f;
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    case UsageFactorRole:
      return v.uf;
    case GoverningRole:
      return governing;
    default:
      return {};
  }
}

QVariant CaseModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const int row = index.row(), column = index.column();
  const CaseRow& r = table_.rows[static_cast<size_t>(row)];
  if (column <= inputColumns()) {
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
      if (role == Qt::TextAlignmentRole && column > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      // the cell whose value the row could not take: marked, with the
      // reason (the row's verdict says it too)
      if ((role == Qt::BackgroundRole || role == Qt::ToolTipRole) && column > 0 &&
          static_cast<size_t>(row) < outcomes_.size() && !computing_) {
        const std::string& problem = outcomes_[static_cast<size_t>(row)].inputError;
        const std::string about =
            "value of " + table_.columns[static_cast<size_t>(column - 1)] + " ";
        if (problem.compare(0, about.size(), about) == 0)
          return role == Qt::BackgroundRole ? QVariant(QBrush(QColor(255, 205, 205)))
                                            : QVariant(QString::fromStdString(problem));
      }
      return {};
    }
    if (column == 0) return QString::fromStdString(r.name);
    const size_t c = static_cast<size_t>(column - 1);
    return c < r.values.size() ? QString::fromStdString(r.values[c]) : QString();
  }
  return outcomeData(row, column, role);
}

QVariant CaseModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section == 0) return QStringLiteral("case");
  if (section <= inputColumns()) {
    return QString::fromStdString(displayName(table_.columns[static_cast<size_t>(section - 1)]));
  }
  if (section == verdictColumn()) return QStringLiteral("verdict");
  CheckId check{};
  if (outcomeColumn(section, check))
    return QStringLiteral("UF ") + QString::fromLatin1(checkCaption(check));
  return {};
}

Qt::ItemFlags CaseModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() <= inputColumns() && !readOnly()) f |= Qt::ItemIsEditable;
  return f;
}

bool CaseModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || index.column() > inputColumns() || readOnly())
    return false;
  CaseRow& r = table_.rows[static_cast<size_t>(index.row())];
  if (index.column() == 0) {
    const std::string name = value.toString().trimmed().toStdString();
    if (name == r.name) return true;
    r.name = name;
    emit dataChanged(index, index);
    changed();
    if (!computing_) finish();  // the summary names the case
    return true;
  }
  const std::string text = normalizedNumber(value.toString()).toStdString();
  r.values.resize(table_.columns.size());
  std::string& cell = r.values[static_cast<size_t>(index.column() - 1)];
  if (cell == text) return true;
  cell = text;
  emit dataChanged(index, index);
  changed();
  recomputeRow(index.row());
  return true;
}

bool CaseModel::insertRows(int row, int count, const QModelIndex& parent) {
  if (parent.isValid() || row < 0 || row > rowCount() || count <= 0 || readOnly()) return false;
  beginInsertRows({}, row, row + count - 1);
  CaseRow empty{{}, std::vector<std::string>(table_.columns.size())};
  table_.rows.insert(table_.rows.begin() + row, static_cast<size_t>(count), empty);
  outcomes_.insert(outcomes_.begin() + row, static_cast<size_t>(count), RowOutcome{});
  points_.insert(points_.begin() + row, static_cast<size_t>(count), GoverningPoints{});
  summarizeShown();
  endInsertRows();
  changed();
  if (computing_) {
    recompute();
  } else {
    for (int i = row; i < row + count; ++i) recomputeRow(i);
  }
  return true;
}

bool CaseModel::removeRows(int row, int count, const QModelIndex& parent) {
  if (parent.isValid() || row < 0 || count <= 0 || row + count > rowCount() || readOnly())
    return false;
  beginRemoveRows({}, row, row + count - 1);
  table_.rows.erase(table_.rows.begin() + row, table_.rows.begin() + row + count);
  outcomes_.erase(outcomes_.begin() + row, outcomes_.begin() + row + count);
  points_.erase(points_.begin() + row, points_.begin() + row + count);
  summarizeShown();
  endRemoveRows();
  changed();
  // the other rows' outcomes still hold: the project is the same
  if (computing_)
    recompute();
  else
    finish();
  return true;
}

void CaseModel::setTable(CaseTable table) { show(std::move(table), {}); }

void CaseModel::show(CaseTable table, std::filesystem::path viewed) {
  beginResetModel();
  viewed_ = std::move(viewed);
  table_ = std::move(table);
  for (CaseRow& r : table_.rows) r.values.resize(table_.columns.size());
  outcomes_.assign(table_.rows.size(), RowOutcome{});
  points_.assign(table_.rows.size(), GoverningPoints{});
  summarizeShown();
  engine_.reset();
  forceEngine_.reset();
  endResetModel();
  changed();
  recompute();
}

size_t CaseModel::shownRows() const {
  return std::min(static_cast<size_t>(std::max<int64_t>(rowLimit_, 1)),
                  ui::report::mostPrintedCases());
}

Status CaseModel::openFile(const std::filesystem::path& path) {
  // counted first, so that the rows of a long file are never all held
  const auto rows = countCases(path, rowLimit_);
  if (!rows) return rows.error();
  if (rows.value() <= rowLimit_) {
    auto table = readCases(path);
    if (!table) return table.error();
    setTable(std::move(table.value()));
    return Done{};
  }
  bool more = false;
  auto table = readFirstCases(path, shownRows(), more);
  if (!table) return table.error();
  std::error_code failed;
  const auto size = std::filesystem::file_size(path, failed);
  fileSize_ = failed ? 0 : size;
  show(std::move(table.value()), path);
  return Done{};
}

void CaseModel::clear(const ProjectState& ps) { setTable(CaseTable{presetColumns(ps), {}}); }

bool CaseModel::addColumn(const std::string& name) {
  if (readOnly() || !isColumnName(name)) return false;
  if (std::find(table_.columns.begin(), table_.columns.end(), name) != table_.columns.end())
    return false;
  CaseTable t = table_;
  t.columns.push_back(name);
  setTable(std::move(t));
  return true;
}

int CaseModel::paste(const QString& text, int row, int column) {
  if (readOnly()) return 0;
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& l : lines)
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
  while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
  if (lines.isEmpty()) return 0;
  row = std::clamp(row, 0, rowCount());
  if (column < 0 || column > inputColumns()) column = 0;
  CaseTable t = table_;

  // where each pasted cell goes: a column of the table, or nowhere (-1)
  std::vector<int> target;
  const QStringList first = lines.first().split(QLatin1Char('\t'));
  bool header = true;
  for (const QString& cell : first) {
    const std::string name = cell.trimmed().toStdString();
    header = header && (cell.trimmed().compare(QLatin1String("case"), Qt::CaseInsensitive) == 0 ||
                        isColumnName(name));
  }
  if (header) {
    // pasted loads of one kind take the place of the other kind's columns
    // while these are empty in every row
    std::vector<std::string> names;
    for (const QString& cell : first) names.push_back(cell.trimmed().toStdString());
    const auto kindOf = [](const std::string& c) {
      return isForceName(c) && c != "N" ? 1 : c == "sigx" || c == "tau" ? 0 : -1;
    };
    // N alone is the axial force of a table of forces
    const bool stresses = std::any_of(
        names.begin(), names.end(), [](const std::string& c) { return c == "sigx" || c == "tau"; });
    for (const std::string& n : names) {
      const int kind = n == "N" && !stresses ? 1 : kindOf(n);
      if (kind < 0) continue;
      for (size_t i = t.columns.size(); i-- > 0;) {
        const int other = kindOf(t.columns[i]);
        const bool empty = std::all_of(t.rows.begin(), t.rows.end(), [i](const CaseRow& r) {
          return i >= r.values.size() || blank(r.values[i]);
        });
        const bool pasted = std::find(names.begin(), names.end(), t.columns[i]) != names.end();
        // N goes with the forces' other columns
        const bool axial = t.columns[i] == "N" && kind == 0;
        if ((other == 1 - kind || axial) && empty && !pasted) {
          t.columns.erase(t.columns.begin() + static_cast<std::ptrdiff_t>(i));
          for (CaseRow& r : t.rows)
            if (i < r.values.size())
              r.values.erase(r.values.begin() + static_cast<std::ptrdiff_t>(i));
        }
      }
    }
    for (const QString& cell : first) {
      const std::string name = cell.trimmed().toStdString();
      if (cell.trimmed().compare(QLatin1String("case"), Qt::CaseInsensitive) == 0) {
        target.push_back(0);
        continue;
      }
      auto it = std::find(t.columns.begin(), t.columns.end(), name);
      if (it == t.columns.end()) {
        t.columns.push_back(name);
        it = t.columns.end() - 1;
      }
      target.push_back(1 + static_cast<int>(it - t.columns.begin()));
    }
    lines.removeFirst();
  } else {
    const int inputs = static_cast<int>(t.columns.size());
    int width = 0;
    for (const QString& l : std::as_const(lines))
      width = std::max(width, static_cast<int>(l.count(QLatin1Char('\t'))) + 1);
    for (int j = 0; j < width; ++j) target.push_back(column + j <= inputs ? column + j : -1);
  }

  const size_t needed = static_cast<size_t>(row) + static_cast<size_t>(lines.size());
  if (t.rows.size() < needed) t.rows.resize(needed);
  for (CaseRow& r : t.rows) r.values.resize(t.columns.size());
  for (int i = 0; i < lines.size(); ++i) {
    CaseRow& r = t.rows[static_cast<size_t>(row + i)];
    const QStringList cells = lines[i].split(QLatin1Char('\t'));
    for (int j = 0; j < cells.size() && j < static_cast<int>(target.size()); ++j) {
      const int c = target[static_cast<size_t>(j)];
      if (c < 0) continue;
      if (c == 0)
        r.name = cells[j].trimmed().toStdString();
      else
        r.values[static_cast<size_t>(c - 1)] = normalizedNumber(cells[j]).toStdString();
    }
  }
  setTable(std::move(t));
  return static_cast<int>(lines.size());
}

void CaseModel::setBase(const ProjectState& ps, const std::optional<std::string>& fault) {
  base_ = std::make_shared<const OpenedProject>(OpenedProject{.state = ps, .fault = fault});
  engine_.reset();
  forceEngine_.reset();
  // an empty table of a mode's loads follows the mode (a table of forces
  // stays one in the shell modes)
  ProjectState column;
  column.cyltype = code(CylinderType::Column);
  const bool forcePreset = table_.columns == forcePresetColumns();
  const bool preset = table_.columns.empty() || table_.columns == presetColumns(ProjectState{}) ||
                      table_.columns == presetColumns(column) || forcePreset;
  const std::vector<std::string> wanted =
      forcePreset && takesForces() ? forcePresetColumns() : presetColumns(ps);
  if (table_.rows.empty() && preset && table_.columns != wanted) {
    table_.columns = wanted;
    beginResetModel();
    endResetModel();
    changed();
  }
  recompute();
}

void CaseModel::setDecimalComma(bool on) {
  decimalComma_ = on;
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void CaseModel::recompute() {
  ++generation_;
  jobs_.cancel();
  if (!engine_ && !forceEngine_ && base_) createEngine();
  const std::vector<CheckId> checks = engine_        ? engine_->checks()
                                      : forceEngine_ ? forceEngine_->checks()
                                                     : std::vector<CheckId>{};
  if (checks != checks_) {
    beginResetModel();
    checks_ = checks;
    endResetModel();
  }
  computing_ = false;
  points_.assign(table_.rows.size(), GoverningPoints{});
  if ((!engine_ && !forceEngine_) || table_.rows.empty()) {
    outcomes_.assign(table_.rows.size(), RowOutcome{});
  } else if (forceEngine_ && rowCount() <= kForceRowsAtOnce) {
    keep(runForceCases(*forceEngine_, table_));
  } else if (forceEngine_) {
    computing_ = true;
    jobs_.start<std::vector<ForceOutcome>>(
        [engine = forceEngine_, table = std::make_shared<const CaseTable>(table_)](
            std::stop_token stop, const std::function<void(uint64_t, uint64_t)>&) {
          return runForceCases(*engine, *table, [&stop] { return stop.stop_requested(); });
        },
        [this, generation = generation_](std::vector<ForceOutcome>& outcomes) {
          if (generation != generation_ || outcomes.size() != table_.rows.size()) return;
          keep(std::move(outcomes));
          computing_ = false;
          finish();
        });
  } else if (rowCount() <= kRowsAtOnce || readOnly()) {
    outcomes_ = runCases(*engine_, table_);
  } else {
    computing_ = true;
    jobs_.start<std::vector<RowOutcome>>(
        [engine = engine_, table = std::make_shared<const CaseTable>(table_)](
            std::stop_token stop, const std::function<void(uint64_t, uint64_t)>&) {
          return runCases(*engine, *table, [&stop] { return stop.stop_requested(); });
        },
        [this, generation = generation_](std::vector<RowOutcome>& outcomes) {
          accept(generation, std::move(outcomes));
        });
  }
  if (readOnly() && !forceEngine_) runFile();
  if (readOnly() && forceEngine_)
    fileProblem_ = "a file of section forces this long is checked by orvane-cli batch";
  finish();
}

// The engine of the table's loads: stresses through the row engine, section
// forces through the force engine; a table of both kinds is refused.
void CaseModel::createEngine() {
  engineProblem_.clear();
  const auto kind = loadKind(base_->state, table_.columns);
  if (!kind) {
    engineProblem_ = kind.error().message;
  } else if (kind.value() == LoadKind::Forces) {
    auto made = ForceEngine::create(*base_, table_.columns);
    if (made)
      forceEngine_ = std::make_shared<const ForceEngine>(std::move(made.value()));
    else
      engineProblem_ = made.error().message;
  } else {
    auto made = RowEngine::create(*base_, table_.columns);
    if (made)
      engine_ = std::make_shared<const RowEngine>(std::move(made.value()));
    else
      engineProblem_ = made.error().message;
  }
}

void CaseModel::keep(std::vector<ForceOutcome> outcomes) {
  outcomes_.clear();
  points_.clear();
  for (ForceOutcome& o : outcomes) {
    outcomes_.push_back(std::move(o.outcome));
    points_.push_back(o.points);
  }
}

bool CaseModel::takesForces() const {
  return base_ && base_->state.cyltype != code(CylinderType::Column);
}

std::vector<std::string> CaseModel::setPreset(bool forces) {
  if (readOnly() || (forces && !takesForces())) return {};
  std::vector<std::string> columns =
      forces ? forcePresetColumns() : presetColumns(base_ ? base_->state : ProjectState{});
  for (const std::string& c : table_.columns)
    if (!isLoadColumn(c) && std::find(columns.begin(), columns.end(), c) == columns.end())
      columns.push_back(c);
  std::vector<std::string> held;
  std::vector<int> from;  // per new column: the table's column, or -1
  for (const std::string& c : columns) {
    const auto it = std::find(table_.columns.begin(), table_.columns.end(), c);
    from.push_back(it == table_.columns.end() ? -1 : static_cast<int>(it - table_.columns.begin()));
  }
  for (size_t i = 0; i < table_.columns.size(); ++i) {
    if (std::find(columns.begin(), columns.end(), table_.columns[i]) != columns.end()) continue;
    if (std::any_of(table_.rows.begin(), table_.rows.end(),
                    [i](const CaseRow& r) { return i < r.values.size() && !blank(r.values[i]); }))
      held.push_back(table_.columns[i]);
  }
  if (!held.empty()) return held;
  CaseTable t{columns, {}};
  for (const CaseRow& r : table_.rows) {
    CaseRow row{r.name, {}};
    for (const int f : from)
      row.values.push_back(f >= 0 && static_cast<size_t>(f) < r.values.size()
                               ? r.values[static_cast<size_t>(f)]
                               : std::string());
    t.rows.push_back(std::move(row));
  }
  if (t.columns != table_.columns) setTable(std::move(t));
  return {};
}

// Every row of the viewed file as a stream on the worker, the rows shown
// kept: the report's own run.
void CaseModel::runFile() {
  fileReport_.reset();
  fileRows_ = 0;
  fileBytes_ = 0;
  fileProblem_.clear();
  if (!base_) return;
  jobs_.start<Result<CaseReport>>(
      [base = base_, path = viewed_, keep = table_.rows.size()](
          std::stop_token stop, const std::function<void(uint64_t, uint64_t)>& progress) {
        int64_t said = -1;
        return caseReportOfFile(*base, path, keep, [&](int64_t rows, uint64_t bytes) {
          if (rows != said) progress(static_cast<uint64_t>(rows), bytes);
          said = rows;
          return !stop.stop_requested();
        });
      },
      [this, generation = generation_](Result<CaseReport>& report) {
        acceptFile(generation, report);
      },
      [this](uint64_t rows, uint64_t bytes) {
        fileRows_ = static_cast<int64_t>(rows);
        fileBytes_ = bytes;
        emit outcomesChanged();
      });
}

void CaseModel::acceptFile(uint64_t generation, Result<CaseReport>& report) {
  if (generation != generation_) return;
  if (!report) {
    fileProblem_ = report.error().text();
  } else {
    fileReport_ = std::make_shared<const CaseReport>(std::move(report.value()));
    // the same rows through the same engine: the outcomes shown already
    if (fileReport_->outcomes.size() == outcomes_.size()) outcomes_ = fileReport_->outcomes;
  }
  finish();
}

std::shared_ptr<const CaseReport> CaseModel::reportOfFile() const {
  if (!readOnly() || !base_) return nullptr;
  if (fileReport_) return fileReport_;
  auto report = caseReportOfFile(*base_, viewed_, table_.rows.size());
  if (!report) return nullptr;
  return std::make_shared<const CaseReport>(std::move(report.value()));
}

QString CaseModel::viewText() const {
  if (!readOnly()) return {};
  const QString file = QString::fromStdString(viewed_.filename().string());
  const QString rows = fileReport_ ? QStringLiteral("has %1 rows").arg(count(fileReport_->total))
                                   : QStringLiteral("has more than %1 rows").arg(count(rowLimit_));
  return QStringLiteral(
             "%1 %2: too many to edit here (this window edits tables of up to %3 rows). It "
             "shows the first %4 rows, read-only; the summary below is over every row of the "
             "file.")
      .arg(file, rows, count(rowLimit_), count(rowCount()));
}

void CaseModel::recomputeRow(int row) {
  if (computing_ || (!engine_ && !forceEngine_)) {
    recompute();
    return;
  }
  RowScratch scratch;
  const size_t r = static_cast<size_t>(row);
  if (forceEngine_) {
    ForceOutcome o = runForceCase(*forceEngine_, table_.rows[r], scratch);
    outcomes_[r] = std::move(o.outcome);
    points_[r] = o.points;
  } else {
    outcomes_[r] = runCase(*engine_, table_.rows[r], scratch);
  }
  finish();
}

void CaseModel::accept(uint64_t generation, std::vector<RowOutcome> outcomes) {
  if (generation != generation_ || outcomes.size() != table_.rows.size()) return;
  outcomes_ = std::move(outcomes);
  computing_ = false;
  finish();
}

// The rows, their outcomes and the summary change together: whatever a
// view or the summary line asks in between is about the rows shown, never
// about those of an earlier table or an earlier run.
void CaseModel::changed() {
  ++revision_;
  emit tableChanged();
}

void CaseModel::summarizeShown() {
  if (readOnly())
    summary_ = fileReport_ ? fileReport_->summary : CaseSummary{};
  else
    summary_ = computing_ || outcomes_.size() != table_.rows.size() ? CaseSummary{}
                                                                    : summarize(table_, outcomes_);
}

void CaseModel::finish() {
  summarizeShown();
  if (rowCount() > 0 && columnCount() > inputColumns() + 1)
    emit dataChanged(index(0, inputColumns() + 1), index(rowCount() - 1, columnCount() - 1));
  emit outcomesChanged();
}

QString CaseModel::summaryText() const {
  if (!engineProblem_.empty()) return QString::fromStdString(engineProblem_);
  if (table_.rows.empty())
    return QStringLiteral("No load cases: paste a block of cells, add rows or import a file.");
  if (readOnly() && !fileProblem_.empty())
    return QStringLiteral("The file was not read to its end: ") +
           QString::fromStdString(fileProblem_);
  if (readOnly() && !fileReport_) {
    const QString part =
        fileSize_ > 0 ? QStringLiteral(" (%1 %)").arg(100 * fileBytes_ / fileSize_) : QString();
    return QStringLiteral("Checking every row of the file: %1 rows so far%2 ...")
        .arg(count(fileRows_), part);
  }
  if (computing_) return QStringLiteral("Checking %1 cases ...").arg(rowCount());
  QStringList parts;
  for (const CheckId check : checks_) {
    const size_t c = static_cast<size_t>(check);
    const int g = summary_.governing[c];
    if (g < 0 || (!readOnly() && g >= rowCount())) continue;
    // the view's governing case may be a row it does not show
    const double uf = readOnly() ? fileReport_->governingValue[c].uf
                                 : outcomes_[static_cast<size_t>(g)][check].uf;
    const std::string& name =
        readOnly() ? fileReport_->governingName[c] : table_.rows[static_cast<size_t>(g)].name;
    parts << QStringLiteral("%1 %2 (%3)")
                 .arg(QString::fromLatin1(checkCaption(check)), number(uf), caseLabel(name, g));
  }
  QString text = parts.isEmpty()
                     ? QString()
                     : QStringLiteral("Governing: ") + parts.join(QStringLiteral(", ")) +
                           QStringLiteral(" \u2014 ");
  text += QStringLiteral("%1 passed, %2 failed, %3 faulted")
              .arg(summary_.passed)
              .arg(summary_.failed)
              .arg(summary_.faulted);
  if (summary_.inputErrors > 0)
    text += QStringLiteral(", %1 with input errors").arg(summary_.inputErrors);
  return text;
}

}  // namespace orvane::cases
