#include "project/batch_xlsx.hpp"

#include <xlsxwriter.h>

#include <string>

#include "model/format.hpp"
#include "model/text_encoding.hpp"

namespace orvane {

const bool kXlsxBuilt = true;
const char* const kNoXlsx = "";

namespace {

constexpr size_t kMaxCellText = 32767;  // characters an Excel cell holds

// Text for a cell: valid UTF-8 (a table exported as Windows-1252 is read as
// that), NUL-terminated, within the cell's limit and cut between characters.
std::string cellText(std::string_view s) {
  std::string text = fileTextToUtf8(s);
  if (text.size() > kMaxCellText) {
    size_t end = kMaxCellText;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
  }
  return text;
}

}  // namespace

struct XlsxResults::Book {
  std::string path;
  BatchColumns columns;
  lxw_workbook* workbook = nullptr;
  lxw_worksheet* results = nullptr;
  lxw_worksheet* summary = nullptr;
  lxw_format *header = nullptr, *red = nullptr, *green = nullptr;
  lxw_row_t next = 1;

  Error failure(lxw_error e) const {
    return Error{ErrorKind::WriteFailed, path, 0,
                 std::string("cannot write the workbook: ") + lxw_strerror(e)};
  }
  lxw_error text(lxw_worksheet* sheet, lxw_row_t r, lxw_col_t c, std::string_view s,
                 lxw_format* f = nullptr) const {
    if (s.empty()) return LXW_NO_ERROR;
    return worksheet_write_string(sheet, r, c, cellText(s).c_str(), f);
  }
};

XlsxResults::XlsxResults(std::unique_ptr<Book> book) : book_(std::move(book)) {}

XlsxResults::~XlsxResults() {
  // a workbook not finished is closed all the same, so that nothing leaks
  if (book_->workbook) workbook_close(book_->workbook);
}

Result<std::unique_ptr<XlsxResults>> XlsxResults::create(const std::filesystem::path& writeTo,
                                                         const std::string& name,
                                                         const BatchColumns& columns) {
  auto book = std::make_unique<Book>();
  book->path = name;
  book->columns = columns;
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.use_zip64 = LXW_TRUE;
  book->workbook = workbook_new_opt(writeTo.c_str(), &options);
  if (!book->workbook)
    return Error{ErrorKind::WriteFailed, book->path, 0, "cannot create the workbook"};
  std::unique_ptr<XlsxResults> results(new XlsxResults(std::move(book)));
  Book& b = *results->book_;
  b.results = workbook_add_worksheet(b.workbook, "Results");
  b.summary = workbook_add_worksheet(b.workbook, "Summary");
  b.header = workbook_add_format(b.workbook);
  format_set_bold(b.header);
  b.red = workbook_add_format(b.workbook);
  format_set_font_color(b.red, 0x9C0006);
  format_set_bg_color(b.red, 0xFFC7CE);
  b.green = workbook_add_format(b.workbook);
  format_set_font_color(b.green, 0x006100);
  format_set_bg_color(b.green, 0xC6EFCE);

  // the header as in the CSV output
  std::vector<std::string> names{"row", "case"};
  names.insert(names.end(), columns.inputs.begin(), columns.inputs.end());
  for (const CheckId c : columns.checks) {
    const std::string n = checkName(c);
    names.insert(names.end(), {n + "_uf", n + "_allow", n + "_verdict"});
    if (columns.forces) names.insert(names.end(), {n + "_theta", n + "_sigx", n + "_tau"});
  }
  names.insert(names.end(), {"local_buckling", "fault"});
  for (const CheckId c : columns.checks) names.push_back(std::string(checkName(c)) + "_uf_alt");
  for (size_t i = 0; i < names.size(); ++i) {
    if (const lxw_error e = b.text(b.results, 0, static_cast<lxw_col_t>(i), names[i], b.header))
      return b.failure(e);
  }
  worksheet_freeze_panes(b.results, 1, 2);
  worksheet_set_column(b.results, 1, 1, 20, nullptr);
  return results;
}

Status XlsxResults::addRow(const BatchRow& row) {
  Book& b = *book_;
  if (static_cast<int64_t>(b.next) > kMaxXlsxRows)
    return Error{ErrorKind::WriteFailed, b.path, 0,
                 "a sheet holds at most " + std::to_string(kMaxXlsxRows) +
                     " result rows; write CSV or split the table with --rows"};
  const RowOutcome& o = *row.outcome;
  const lxw_row_t r = b.next++;
  lxw_col_t c = 0;
  lxw_error e = worksheet_write_number(b.results, r, c++, static_cast<double>(row.row), nullptr);
  if (!e) e = b.text(b.results, r, c++, row.caseName);
  for (size_t i = 0; i < b.columns.inputs.size() && !e; ++i, ++c) {
    if (i >= row.inputs.size()) continue;
    const std::string_view v = row.inputs[i];
    if (const auto number = parseFileNumber(v); number && !v.empty())
      e = worksheet_write_number(b.results, r, c, *number, nullptr);
    else
      e = b.text(b.results, r, c, v);
  }
  for (const CheckId id : b.columns.checks) {
    const CheckValue& v = o[id];
    if (!e && v.shown) {
      lxw_format* f = v.exceeded() ? b.red : b.green;
      e = worksheet_write_number(b.results, r, c, v.uf, f);
      if (!e) e = worksheet_write_number(b.results, r, c + 1, v.allow, nullptr);
      if (!e) e = b.text(b.results, r, c + 2, verdictText(v), f);
    }
    c += 3;
    if (!b.columns.forces) continue;
    // the governing point, as the CSV output gives it
    if (!e && v.shown && row.points && o.fault.empty() && o.inputError.empty()) {
      const GoverningPoint& p = (*row.points)[static_cast<size_t>(id)];
      e = worksheet_write_number(b.results, r, c, p.theta, nullptr);
      if (!e) e = worksheet_write_number(b.results, r, c + 1, p.sigx, nullptr);
      if (!e) e = worksheet_write_number(b.results, r, c + 2, p.tau, nullptr);
    }
    c += 3;
  }
  if (!e) e = b.text(b.results, r, c++, localText(o), o.localNok > 0 ? b.red : b.green);
  if (!e) e = b.text(b.results, r, c++, faultText(o));
  for (const CheckId id : b.columns.checks) {  // the rule notes' usage factors
    const CheckValue& v = o[id];
    if (!e && v.shown && v.hasAlt) e = worksheet_write_number(b.results, r, c, v.ufAlt, nullptr);
    ++c;
  }
  if (e) return b.failure(e);
  return Done{};
}

Status XlsxResults::finish(const BatchSummary& s) {
  Book& b = *book_;
  lxw_worksheet* w = b.summary;
  lxw_error e = LXW_NO_ERROR;
  const std::pair<const char*, int64_t> counts[] = {{"rows", s.rows},
                                                    {"passed", s.passed},
                                                    {"failed", s.failed},
                                                    {"faulted", s.faulted},
                                                    {"input errors", s.inputErrors}};
  lxw_row_t r = 0;
  for (const auto& [label, n] : counts) {
    if (!e) e = b.text(w, r, 0, label, b.header);
    if (!e) e = worksheet_write_number(w, r, 1, static_cast<double>(n), nullptr);
    ++r;
  }
  ++r;
  const char* const head[] = {"check",   "governing row",    "case",           "UF", "allowable",
                              "verdict", verdictWord(false), verdictWord(true)};
  for (lxw_col_t c = 0; c < 8 && !e; ++c) e = b.text(w, r, c, head[c], b.header);
  for (const CheckId id : b.columns.checks) {
    ++r;
    const CheckSummary& cs = s.checks[static_cast<size_t>(id)];
    if (!e) e = b.text(w, r, 0, checkName(id));
    if (!cs.any || e) continue;
    lxw_format* f = cs.uf > cs.allow ? b.red : b.green;
    e = worksheet_write_number(w, r, 1, static_cast<double>(cs.row), nullptr);
    if (!e) e = b.text(w, r, 2, cs.caseName);
    if (!e) e = worksheet_write_number(w, r, 3, cs.uf, f);
    if (!e) e = worksheet_write_number(w, r, 4, cs.allow, nullptr);
    if (!e) e = b.text(w, r, 5, verdictWord(cs.uf > cs.allow), f);
    if (!e) e = worksheet_write_number(w, r, 6, static_cast<double>(cs.passed), nullptr);
    if (!e) e = worksheet_write_number(w, r, 7, static_cast<double>(cs.failed), nullptr);
  }
  if (!e) worksheet_set_column(w, 0, 0, 14, nullptr);
  lxw_workbook* book = b.workbook;
  b.workbook = nullptr;
  const lxw_error closed = workbook_close(book);
  if (e) return b.failure(e);
  if (closed) return b.failure(closed);
  return Done{};
}

}  // namespace orvane
