// Any project file must read without a crash, and one that does not read
// in full must leave the project as it was; a complete read must also
// survive the opening steps and a calculation run (faults are caught).
#include "fuzz_input.hpp"
#include "project/session.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static orvane::ProjectState started = [] {
    orvane::ProjectState ps;
    orvane::RecordingEvents ev;
    orvane::Session(ps, ev).startUp(ORVANE_SHIPPED_DATA);
    return ps;
  }();
  orvane::ProjectState ps = started;
  orvane::RecordingEvents ev;
  orvane::Session session(ps, ev);
  const auto path = orvane::fuzz::scratchFile(data, size, "p.cys");
  if (!session.open(path)) {
    // a file that does not read in full changes nothing
    if (ps.fileName != started.fileName || ps.projectName != started.projectName ||
        ps.cyltype != started.cyltype || ps.t != started.t ||
        ps.stiffBuilt.lb.h != started.stiffBuilt.lb.h)
      __builtin_trap();
  }
  return 0;
}
