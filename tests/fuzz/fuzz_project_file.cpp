// Any project file must read without a crash; a complete read must also
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
  const auto outcome = orvane::readProject(ps, path);
  if (outcome.status != orvane::ReadOutcome::Ok) return 0;
  orvane::RecordingEvents ev;
  try {
    orvane::openingSteps(ps, ev);
    orvane::refreshValues(ps);
    orvane::calcDriver(ps, ev);
  } catch (const orvane::CalcFault&) {
  }
  return 0;
}
