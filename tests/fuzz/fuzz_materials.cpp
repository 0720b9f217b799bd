#include "fuzz_input.hpp"
#include "sections/materials.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orvane::MaterialTable table;
  (void)orvane::loadMaterials(orvane::fuzz::scratchFile(data, size, "DNVmat.dat"), table);
  if (table.count > 20) __builtin_trap();
  return 0;
}
