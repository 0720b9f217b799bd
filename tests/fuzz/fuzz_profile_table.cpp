#include "fuzz_input.hpp"
#include "sections/profile_tables.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // the first byte picks the table layout: L/T, flat bar or bulb flat
  if (size == 0) return 0;
  orvane::ProfileTables tables;
  orvane::ProfileTable* pick[] = {&tables.l, &tables.flat, &tables.bulb};
  orvane::ProfileTable& table = *pick[data[0] % 3];
  (void)orvane::loadProfileTable(orvane::fuzz::scratchFile(data + 1, size - 1, "prof.dat"), table);
  if (table.last >= table.maxRows) __builtin_trap();
  orvane::profileList(table, orvane::ProfileKind::L);
  return 0;
}
