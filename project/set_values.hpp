// Named inputs for `--set NAME=VALUE`, load-table columns and study ranges:
// a handle on one entry of the input table (project/inputs.hpp) that stores
// a value as the window stores a typed value, with the input's tests and the
// rules that come before a run.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project_state.hpp"
#include "project/inputs.hpp"

namespace orvane {

// Applies one NAME=VALUE assignment (without the rules that follow a run);
// returns an error text naming the problem (unknown name, not a number, not
// a value the input can hold).
std::optional<std::string> applySetting(ProjectState& ps, const std::string& assignment);

// One named input, looked up once and then stored many times: the columns
// of a load table, the varied inputs of a study.
class InputSetter {
 public:
  // The input called `name`; none when there is no such input.
  static std::optional<InputSetter> find(std::string_view name);

  const InputDef& def() const { return *def_; }
  std::string name() const { return std::string(def_->name); }
  // Whether the input is an integer (list, option, flag, table row).
  bool integer() const { return def_->kind == InputKind::Integer; }
  // The value the input holds in `ps`.
  double value(const ProjectState& ps) const { return def_->get(ps); }

  // Stores the value of `text` as NAME=TEXT does; returns the problem
  // (not a number, out of range, not a value the input can hold).
  std::optional<std::string> store(ProjectState& ps, std::string_view text) const;
  // Stores a number as if it had been typed exactly.
  std::optional<std::string> store(ProjectState& ps, double value) const;

 private:
  explicit InputSetter(const InputDef* def) : def_(def) {}
  const InputDef* def_;
};

// Every input name, sorted.
std::vector<std::string> inputNames();

}  // namespace orvane
