// The calculation driver and the checks it runs.
#pragma once

#include <cstdint>

#include "model/project_state.hpp"

namespace orvane {

// How one calculation run is made. The options travel with the run, never
// with the project, so no copy of a project sent to a worker thread can
// carry a window's trace.
struct RunOptions {
  // false: the checks compute numbers only and leave every text (tables,
  // local-buckling lines, designations) as it is; for batch screening.
  bool texts = true;
  // Where the checks record their working for the calculation sheet; none
  // by default (not owned).
  CalcTrace* trace = nullptr;
  // The last check the run works out. A search for the worst point of one
  // check stops after it (the checks run in panel order, and none reads
  // what a later one computes); the later checks keep the values they had.
  // The column mode's checks always run whole.
  enum class Last : uint8_t { Shell, Stiffener, Every };
  Last last = Last::Every;
};

// Recomputes every derived value and result table of the project. Throws
// CalcFault on an arithmetic fault; what was computed before it stays.
void calcDriver(ProjectState& ps, CalcEvents& ev, const RunOptions& run = {});

// True when the stiffener panel shows the stiffener-spacing note instead of
// its table: s/t > 3*sqrt(r/t).
bool stiffenerNote(const ProjectState& ps);

// The chapter of the shell check the driver chooses for the project, as its
// panel title cites it; for the references of the calculation sheet.
const char* shellChapter(const ProjectState& ps);

// The checks calcDriver runs, each with the options of its run.
void designStresses(ProjectState& ps, CalcEvents& ev, const RunOptions& run);
void unstiffenedCylinderCheck(ProjectState& ps, const RunOptions& run);           // Ch 3.4.2
void curvedPanelCheck(ProjectState& ps, const RunOptions& run);                   // Ch 3.3.2
void columnCheck(ProjectState& ps, const RunOptions& run);                        // Ch 3.8
void stiffenerBuckling(ProjectState& ps, CalcEvents& ev, const RunOptions& run);  // Ch 3.6.3
void torsionalBuckling(ProjectState& ps, const RunOptions& run);
void ringLengthCheck(ProjectState& ps, CalcEvents& ev, const RunOptions& run);    // B.5.9
void panelRingBuckling(ProjectState& ps, CalcEvents& ev, const RunOptions& run);  // Ch 3.5.2
void heavyRing(ProjectState& ps, const RunOptions& run);

// The special Ih calculation (Ch 3.5.2.7) of a finished run again, from the
// run's general Ih, with the ring frame's torsional buckling strength `fT`;
// returns the final Ih and its |pd/pcap| in `usage`. For the rule notes;
// throws CalcFault as the run does.
double specialIhWith(const ProjectNumbers& run, float fT, float* usage = nullptr);

}  // namespace orvane
