// XlsxResults where the build has no workbook writer (the browser module,
// which has no files to give): every workbook is refused with a message.
#include "project/batch_xlsx.hpp"

namespace orvane {

struct XlsxResults::Book {};

XlsxResults::XlsxResults(std::unique_ptr<Book> book) : book_(std::move(book)) {}
XlsxResults::~XlsxResults() = default;

Result<std::unique_ptr<XlsxResults>> XlsxResults::create(const std::filesystem::path& writeTo,
                                                         const std::string& name,
                                                         const BatchColumns& columns) {
  (void)writeTo;
  (void)columns;
  return Error{ErrorKind::WriteFailed, name, 0, "this build writes no workbooks; write CSV"};
}

Status XlsxResults::addRow(const BatchRow& row) {
  (void)row;
  return Error{ErrorKind::WriteFailed, "", 0, "this build writes no workbooks"};
}

Status XlsxResults::finish(const BatchSummary& summary) {
  (void)summary;
  return Error{ErrorKind::WriteFailed, "", 0, "this build writes no workbooks"};
}

}  // namespace orvane
