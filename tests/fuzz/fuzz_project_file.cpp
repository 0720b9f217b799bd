// Any project file must read without a crash, and one that does not read
// in full must leave the project as it was; a complete read must also
// survive the opening steps and a calculation run (faults are caught).
#include "core/calc_driver.hpp"
#include "files/project_file.hpp"
#include "fuzz_input.hpp"
#include "model/checked.hpp"
#include "sections/data_files.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orvane::ProjectState started = [] {
    orvane::ProjectState ps;
    orvane::assignDefaults(ps);
    orvane::loadDataFiles(ps, ORVANE_SHIPPED_DATA);
    return ps;
  }();
  orvane::ProjectState ps = started;
  const auto path = orvane::fuzz::scratchFile(data, size, "p.cys");
  if (!orvane::readProject(ps, path)) {
    // a file that does not read in full changes nothing
    if (ps.fileName != started.fileName || ps.projectName != started.projectName ||
        ps.cyltype != started.cyltype || ps.t != started.t ||
        ps.stiffBuilt.lb.h != started.stiffBuilt.lb.h)
      __builtin_trap();
    return 0;
  }
  orvane::RecordingEvents ev;
  try {
    orvane::openingSteps(ps, ev);
    orvane::refreshValues(ps);
    orvane::calcDriver(ps, ev);
  } catch (const orvane::CalcFault&) {
  }
  return 0;
}
