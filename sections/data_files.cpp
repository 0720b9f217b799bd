#include "sections/data_files.hpp"

#include "sections/materials.hpp"
#include "sections/profile_tables.hpp"

namespace orvane {

std::vector<std::string> loadDataFiles(ProjectState& ps, const std::filesystem::path& dir) {
  std::vector<std::string> errors;
  if (auto e = loadMaterials(dir / "DNVmat.dat", ps.mat)) errors.push_back(*e);
  const std::pair<const char*, ProfileTable*> tables[] = {{"bfprof.dat", &ps.prof.bulb},
                                                          {"lprof.dat", &ps.prof.l},
                                                          {"tprof.dat", &ps.prof.t},
                                                          {"fprof.dat", &ps.prof.flat}};
  for (const auto& [name, table] : tables)
    if (auto e = loadProfileTable(dir / name, *table)) errors.push_back(*e);
  return errors;
}

}  // namespace orvane
