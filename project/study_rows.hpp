// What the sweep and the optimiser share: the --set values of a study as
// leading columns of its rows.
#pragma once

#include <string>
#include <vector>

#include "model/project_state.hpp"
#include "model/result.hpp"

namespace orvane {

// NAME=VALUE settings stored in every row before the study's own values,
// as the numbers NAME=VALUE stores.
struct FixedSettings {
  std::vector<std::string> names;
  std::vector<double> values;
};

// Checks each setting on `base` as --set does; a name that is also in
// `varied` is an error.
Result<FixedSettings> fixedSettings(const ProjectState& base, const std::vector<std::string>& fixed,
                                    const std::vector<std::string>& varied);

}  // namespace orvane
