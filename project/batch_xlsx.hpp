// A batch run as an Excel workbook: a results sheet (frozen header, usage
// factors above their allowable value in red, within it in green) and a
// summary sheet with the governing case of each check.
//
// The workbook is written row by row in constant memory; a sheet holds at
// most 1,048,575 result rows.
#pragma once

#include <filesystem>
#include <memory>

#include "model/result.hpp"
#include "project/batch_rows.hpp"

namespace orvane {

class XlsxResults {
 public:
  // Starts the workbook `path` with the header row of `columns`.
  static Result<std::unique_ptr<XlsxResults>> create(const std::filesystem::path& path,
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
