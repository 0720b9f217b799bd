// Named inputs of the project for `--set NAME=VALUE`, stored as the main
// window stores a typed value: a number field stores the single-precision
// number it read, whatever the variable's kind; lists, options and flags
// store integers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/project_state.hpp"

namespace orvane {

// Applies one NAME=VALUE assignment; returns an error text naming the
// problem (unknown name, not a number, not an integer in range).
std::optional<std::string> applySetting(ProjectState& ps, const std::string& assignment);

struct Setting;

// One named input, looked up once and then stored many times: the columns
// of a load table, the varied inputs of a study.
class InputSetter {
 public:
  // The input called `name`; none when there is no such input.
  static std::optional<InputSetter> find(std::string_view name);

  const std::string& name() const { return *name_; }
  // Whether the input is an integer (list, option, flag, table row).
  bool integer() const;
  // The value the input holds in `ps`.
  double value(const ProjectState& ps) const;

  // Stores the value of `text` as NAME=TEXT does; returns the problem
  // (not a number, out of range, not a whole number in range).
  std::optional<std::string> store(ProjectState& ps, std::string_view text) const;
  // Stores a number as if it had been typed exactly.
  std::optional<std::string> store(ProjectState& ps, double value) const;

 private:
  InputSetter(const std::string* name, const Setting* setting) : name_(name), setting_(setting) {}
  std::optional<std::string> storeValue(ProjectState& ps, double value,
                                        std::string_view text) const;
  const std::string* name_;
  const Setting* setting_;
};

// Every input name, sorted.
std::vector<std::string> inputNames();

}  // namespace orvane
