#include "sections/data_files.hpp"

#include "sections/materials.hpp"
#include "sections/profile_tables.hpp"

namespace orvane {

std::vector<Error> loadDataFiles(ProjectState& ps, const std::filesystem::path& dir) {
  std::vector<Error> errors;
  if (auto s = loadMaterials(dir / "DNVmat.dat", ps.mat); !s) errors.push_back(s.error());
  const std::pair<const char*, ProfileTable*> tables[] = {{"bfprof.dat", &ps.prof.bulb},
                                                          {"lprof.dat", &ps.prof.l},
                                                          {"tprof.dat", &ps.prof.t},
                                                          {"fprof.dat", &ps.prof.flat}};
  for (const auto& [name, table] : tables)
    if (auto s = loadProfileTable(dir / name, *table); !s) errors.push_back(s.error());
  return errors;
}

}  // namespace orvane
