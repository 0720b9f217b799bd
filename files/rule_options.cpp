#include "files/rule_options.hpp"

#include <fstream>
#include <sstream>
#include <system_error>

namespace orvane {

namespace fs = std::filesystem;

namespace {

// The value of one option line, or nullopt for an unknown value.
std::optional<bool> optionValue(std::string_view name, std::string_view value) {
  if (name == "rules") {
    if (value == "conservative") return true;
    if (value == "orvane") return false;
  } else if (name == "ends") {
    if (value == "closed") return true;
    if (value == "open") return false;
  }
  return std::nullopt;
}

bool optionName(std::string_view name) { return name == "rules" || name == "ends"; }

}  // namespace

fs::path ruleOptionsPath(const fs::path& project) {
  fs::path p = project;
  if (p.extension() == ".cys") return p.replace_extension(".rules");
  return fs::path(p.string() + ".rules");
}

Result<RuleOptions> readRuleOptions(const fs::path& project) {
  const fs::path path = ruleOptionsPath(project);
  std::error_code ec;
  if (!fs::exists(path, ec)) return RuleOptions{};
  std::ifstream in(path, std::ios::binary);
  if (!in) return Error{ErrorKind::Unreadable, path.string(), 0, "can't read the rule options"};
  RuleOptions o;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const size_t eq = line.find('=');
    const std::string_view name = std::string_view(line).substr(0, eq);
    const std::optional<bool> value =
        eq == std::string::npos ? std::nullopt
                                : optionValue(name, std::string_view(line).substr(eq + 1));
    if (!value)
      return Error{ErrorKind::Damaged, path.string(), number,
                   "expected rules=orvane, rules=conservative, ends=open or ends=closed"};
    (name == "rules" ? o.conservative : o.closedEnds) = *value;
  }
  return o;
}

Status writeRuleOptions(const fs::path& project, const RuleOptions& options) {
  const fs::path path = ruleOptionsPath(project);
  std::error_code ec;
  if (!options.conservative && !options.closedEnds) {
    fs::remove(path, ec);
    if (ec) return Error{ErrorKind::WriteFailed, path.string(), 0, ec.message()};
    return Done{};
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "rules=" << (options.conservative ? "conservative" : "orvane") << "\n"
      << "ends=" << (options.closedEnds ? "closed" : "open") << "\n";
  out.close();
  if (!out) return Error{ErrorKind::WriteFailed, path.string(), 0, "can't write the rule options"};
  return Done{};
}

RuleOptions ruleOptionsOf(const ProjectNumbers& ps) {
  return {ps.conservativeRules, ps.closedEnds};
}

void setRuleOptions(ProjectNumbers& ps, const RuleOptions& options) {
  ps.conservativeRules = options.conservative;
  ps.closedEnds = options.closedEnds;
}

std::optional<std::string> applyRuleOption(ProjectNumbers& ps, std::string_view assignment) {
  const size_t eq = assignment.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view name = assignment.substr(0, eq), value = assignment.substr(eq + 1);
  if (!optionName(name)) return std::nullopt;
  const std::optional<bool> v = optionValue(name, value);
  if (!v)
    return "bad value '" + std::string(value) + "' for " + std::string(name) +
           (name == "rules" ? ": orvane or conservative" : ": open or closed");
  (name == "rules" ? ps.conservativeRules : ps.closedEnds) = *v;
  return std::string();
}

}  // namespace orvane
