// XlsxResults of a build without the workbook library (the Windows build,
// the browser module): every workbook is refused with kNoXlsx.
#include "project/batch_xlsx.hpp"

namespace orvane {

const bool kXlsxBuilt = false;
#ifdef _WIN32
const char* const kNoXlsx =
    "workbook (.xlsx) output is not part of the Windows build; write .csv or --json";
#else
const char* const kNoXlsx =
    "workbook (.xlsx) output is not part of this build; write .csv or --json";
#endif

struct XlsxResults::Book {};

XlsxResults::XlsxResults(std::unique_ptr<Book> book) : book_(std::move(book)) {}
XlsxResults::~XlsxResults() = default;

Result<std::unique_ptr<XlsxResults>> XlsxResults::create(const std::filesystem::path&,
                                                         const std::string& name,
                                                         const BatchColumns&) {
  return Error{ErrorKind::WriteFailed, name, 0, kNoXlsx};
}

Status XlsxResults::addRow(const BatchRow&) {
  return Error{ErrorKind::WriteFailed, {}, 0, kNoXlsx};
}

Status XlsxResults::finish(const BatchSummary&) {
  return Error{ErrorKind::WriteFailed, {}, 0, kNoXlsx};
}

}  // namespace orvane
