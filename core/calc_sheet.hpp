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

// Section forces turned into the stresses of the sheet's run: the forces,
// the walls they act on and each check's governing point round the
// circumference; the run is that of the point marked `chosen`.
struct SheetForces {
  double N = 0, M1 = 0, M2 = 0, T = 0, Q1 = 0, Q2 = 0;  // kN, kNm
  double r = 0, t = 0, te = 0;                          // mm
  double As = 0, s = 0;                                 // stringers: te = t + As/s
  bool stringers = false;
  struct Point {
    std::string check;                     // its short name
    double theta = 0;                      // degrees
    double sigx = 0, tau = 0;              // as computed (double)
    double sigxStored = 0, tauStored = 0;  // as stored (single)
    double uf = 0, allow = 0;
    bool chosen = false;
  };
  std::vector<Point> points;
};

// What the sheet's header says beyond the project itself.
struct SheetHeader {
  std::string date;                    // when the sheet was made
  std::vector<std::string> dataFiles;  // the data files read at start-up
  std::optional<std::string> fault;    // the fault that stopped the run
  std::vector<std::string> warnings;   // the checks' warnings during the run
  std::optional<SheetForces> forces;   // the run's stresses came from section forces
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
