// The calculation sheet: the working of one calculation run as a
// self-contained HTML document, step by step from the run's trace.
//
// The document keeps to the HTML that both a browser and QTextDocument show
// alike (tables with attribute widths, sub, sup, font colours, inline CSS).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/calc_trace.hpp"
#include "model/project_state.hpp"

namespace orvane {

// What the sheet's header says beyond the project itself.
struct SheetHeader {
  std::string date;                    // when the sheet was made
  std::vector<std::string> dataFiles;  // the data files read at start-up
  std::optional<std::string> fault;    // the fault that stopped the run
  std::vector<std::string> warnings;   // the checks' warnings during the run
};

// The data files the program reads from `dir`, in the order read.
std::vector<std::string> sheetDataFiles(const std::string& dir);

// The sheet of the run that left `ps` as it is and recorded `trace`.
std::string calcSheetHtml(const ProjectState& ps, const CalcTrace& trace,
                          const SheetHeader& header);

// The rules this program applies where editions of DNV-RP-C202 and other
// programs are known to differ, as far as they concern the project's
// cylinder type and checks.
std::vector<std::string> methodNotes(const ProjectState& ps);

}  // namespace orvane
