#include "cli/rule_notes_output.hpp"

#include <CLI/CLI.hpp>

#include "core/rule_notes.hpp"
#include "model/format.hpp"

namespace orvane::cli {

namespace {

const char* verdictWord(bool exceeded) { return exceeded ? "NOT OK" : "OK"; }

}  // namespace

void addRulesOption(CLI::App* cmd, std::vector<std::string>& sets) {
  cmd->add_option_function<std::string>(
         "--rules", [&sets](const std::string& mode) { sets.push_back("rules=" + mode); },
         "judge by Orvane's rules (orvane, the default) or by the more conservative reading of "
         "each rule note (conservative)")
      ->type_name("orvane|conservative")
      ->check(CLI::IsMember({"orvane", "conservative"}));
}

nlohmann::json ruleNotesJson(const ProjectState& ps) {
  nlohmann::json notes = nlohmann::json::array();
  for (const RuleNote& n : ruleNotes(ps))
    notes.push_back({{"check", checkName(n.check)},
                     {"note", n.key},
                     {"chapter", n.chapter},
                     {"rule", n.rule},
                     {"alternative", n.alternative},
                     {"values", n.values},
                     {"uf", n.uf},
                     {"allow", n.allow},
                     {"verdict", verdictWord(n.exceeded())},
                     {"uf_alt", n.ufAlt},
                     {"allow_alt", n.allowAlt},
                     {"verdict_alt", verdictWord(n.exceededAlt())},
                     {"mark", n.mark}});
  return notes;
}

void ruleNotesText(std::ostream& out, const ProjectState& ps) {
  const std::vector<RuleNote> notes = ruleNotes(ps);
  if (ps.conservativeRules) out << "Judged by " << rulesJudging(ps) << "\n";
  if (notes.empty()) return;
  out << notes.size() << " rule note(s): another reading of DNV-RP-C202 is stricter\n";
  for (const RuleNote& n : notes) {
    out << "  " << checkName(n.check) << " (" << n.chapter << "): UF " << format(n.uf, "0.00")
        << " <= " << format(n.allow, "0.00") << " " << verdictWord(n.exceeded())
        << "; other reading UF " << format(n.ufAlt, "0.00") << " <= " << format(n.allowAlt, "0.00")
        << " " << verdictWord(n.exceededAlt()) << "\n"
        << "    applied: " << n.rule << "\n"
        << "    other:   " << n.alternative << "\n"
        << "    values:  " << n.values << "\n";
  }
}

}  // namespace orvane::cli
