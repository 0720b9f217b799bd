// A batch run as an Excel workbook: a results sheet (frozen header, usage
// factors above their allowable value in red, within it in green) and a
// summary sheet with the governing case of each check.
//
// The workbook is written row by row in constant memory; a sheet holds at
// most 1,048,575 result rows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "model/result.hpp"
#include "project/batch_rows.hpp"

namespace orvane {

// Whether this build writes workbooks: the Windows build has no workbook
// library (ORVANE_XLSX=OFF), and every front end refuses a .xlsx name with
// kNoXlsx before any work starts.
extern const bool kXlsxBuilt;
extern const char* const kNoXlsx;

// The result rows a sheet holds below its header.
inline constexpr int64_t kMaxXlsxRows = 1'048'575;

class XlsxResults {
 public:
  // Starts the workbook with the header row of `columns`, written to the
  // file `writeTo` (the output's temporary); `name` is the workbook as the
  // user named it, for messages.
  static Result<std::unique_ptr<XlsxResults>> create(const std::filesystem::path& writeTo,
                                                     const std::string& name,
                                                     const BatchColumns& columns);
  ~XlsxResults();
  XlsxResults(const XlsxResults&) = delete;
  XlsxResults& operator=(const XlsxResults&) = delete;

  Status addRow(const BatchRow& row);
  // Writes the summary sheet and closes the file.
  Status finish(const BatchSummary& summary);

 private:
  struct Book;
  explicit XlsxResults(std::unique_ptr<Book> book);
  std::unique_ptr<Book> book_;
};

}  // namespace orvane
