// orvane-cli sheet [FILE.cys] [-o FILE] [--json]: the calculation sheet.
#include <algorithm>
#include <numbers>
#include <ostream>

#include "cli/commands.hpp"
#include "cli/project_open.hpp"
#include "cli/sheet_output.hpp"
#include "core/calc_sheet.hpp"
#include "core/calc_trace.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"
#include "project/member_forces.hpp"

namespace orvane::cli {
namespace {

class SheetCommand final : public Command {
 public:
  CLI::App* add(CLI::App& app) override {
    CLI::App* cmd = app.add_subcommand(
        "sheet", "write the calculation sheet of a project: every step of every check");
    cmd->add_option("FILE", file_, "the project file (.cys); the defaults without it");
    cmd->add_option("-o,--output", output_, "the file to write (standard output without it)")
        ->type_name("FILE")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    cmd->add_flag("--json", json_, "the recorded steps as JSON instead of the HTML sheet");
    cmd->add_option("--forces", forces_,
                    "section forces instead of sigx and tau (shell modes; kN, kNm; missing ones "
                    "0): the sheet converts them at each check's governing point round the "
                    "circumference and works the point of the governing check")
        ->type_name("N=...,M1=...,M2=...,T=...,Q1=...,Q2=...");
    return cmd;
  }

  // As `check`, with the trace of every run recorded; the sheet is that of
  // the last run, the one the panels show.
  Exit run(const Context& c) override {
    if (!checkSets(c)) return Exit::Usage;
    std::vector<std::string> sets = c.sets;
    std::optional<SheetForces> forces;
    if (!forces_.empty()) {
      if (json_) return problem(c, prefix(), "--forces writes the HTML sheet, not --json");
      auto converted = convertForces(c);
      if (!converted) return problem(c, prefix(), converted.error().message);
      forces = converted.value();
      for (const SheetForces::Point& p : forces->points) {
        if (!p.chosen) continue;
        sets.push_back("sigx=" + shortestText(p.sigxStored));
        sets.push_back("tau=" + shortestText(p.tauStored));
      }
    }
    std::optional<OutputFile> file;
    if (!output_.empty()) {
      file = openOutput(c, prefix(), output_, {file_});
      if (!file) return Exit::Usage;
    }
    CheckOutcome outcome;
    outcome.file = file_;
    CalcTrace trace;
    const auto opened = Session::openHeadless({.dataDir = c.dataDir,
                                               .file = file_,
                                               .sets = sets,
                                               .trace = &trace,
                                               .onRun = recordOutcome(outcome)});
    if (!openedWell(c, opened)) return Exit::Usage;
    const ProjectState& ps = opened.value().state;
    outcome.warnings = opened.value().warnings;
    std::string text;
    if (json_) {
      text = sheetJson(ps, trace, outcome).dump(1) + "\n";
    } else {
      SheetHeader header;
      header.date = sheetDate();
      header.dataFiles = sheetDataFiles(c.dataDir.string());
      header.fault = outcome.fault;
      header.warnings = outcome.warnings;
      header.forces = forces;
      text = calcSheetHtml(ps, trace, header);
    }
    if (!file) {
      c.out << text;
    } else if (Status w = file->write(text); !w || !commitOutput(c, prefix(), *file)) {
      if (!w) problem(c, prefix(), w.error().text());
      return Exit::Usage;
    }
    return outcome.fault ? Exit::Fault : static_cast<Exit>(verdictCode(ps));
  }

 private:
  // The --forces of the project after the --set values, each check's
  // governing point found as batch finds it; the point of the check with
  // the largest usage factor to its allowable value is the one worked.
  Result<SheetForces> convertForces(const Context& c) const {
    const auto fail = [](const std::string& text) {
      return Error{ErrorKind::Damaged, "", 0, text};
    };
    std::vector<std::string> names, values;
    std::string_view rest = forces_;
    while (!rest.empty()) {
      const auto comma = rest.find(',');
      const std::string_view item = rest.substr(0, comma);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      const auto eq = item.find('=');
      const std::string name(item.substr(0, eq));
      if (eq == std::string_view::npos || !isForceName(name))
        return fail("--forces takes NAME=VALUE,... with NAME among N M1 M2 T Q1 Q2, got '" +
                    std::string(item) + "'");
      if (std::find(names.begin(), names.end(), name) != names.end())
        return fail("--forces names " + name + " twice");
      names.push_back(name);
      values.emplace_back(item.substr(eq + 1));
    }
    auto base = Session::openHeadless({.dataDir = c.dataDir, .file = file_, .sets = c.sets});
    if (!base) return fail("the project cannot be opened");
    const auto kind = loadKind(base.value().state, names);
    if (!kind) return kind.error();
    if (kind.value() != LoadKind::Forces)
      return fail("--forces: section forces are loads of the shell modes");
    auto engine = ForceEngine::create(base.value(), names);
    if (!engine) return engine.error();
    RowScratch scratch;
    const std::vector<std::string_view> texts(values.begin(), values.end());
    const ForceOutcome o = engine.value().run(texts, scratch);
    if (!o.outcome.inputError.empty()) return fail(o.outcome.inputError);
    if (!o.outcome.fault.empty()) return fail("the calculation stopped: " + o.outcome.fault);
    SheetForces f;
    SectionForces given;
    std::vector<std::string_view> others;
    RowOutcome bad;
    engine.value().split(texts, others, given, bad);
    f.N = given.N, f.M1 = given.M1, f.M2 = given.M2;
    f.T = given.T, f.Q1 = given.Q1, f.Q2 = given.Q2;
    const ProjectState& ps = base.value().state;
    const TubeWall w = tubeWall(ps);
    f.r = w.r, f.t = w.t, f.te = w.te;
    f.stringers = ps.cyltype == code(CylinderType::StringerStiffened);
    f.As = ps.st.As, f.s = ps.s;
    double worst = -1;
    size_t chosen = 0;
    for (const CheckId id : engine.value().checks()) {
      const CheckValue& v = o.outcome[id];
      if (!v.shown) continue;
      const GoverningPoint& g = o.points[static_cast<size_t>(id)];
      const PointStresses at = stressesAt(given, w, g.theta * (std::numbers::pi / 180));
      f.points.push_back(
          {checkName(id), g.theta, at.sigx, at.tau, g.sigx, g.tau, v.uf, v.allow, false});
      if (v.allow > 0 && v.uf / v.allow > worst) {
        worst = v.uf / v.allow;
        chosen = f.points.size() - 1;
      }
    }
    if (f.points.empty()) return fail("no check is shown");
    f.points[chosen].chosen = true;
    return f;
  }

  std::string file_, output_, forces_;
  bool json_ = false;
};

}  // namespace

std::unique_ptr<Command> makeSheetCommand() { return std::make_unique<SheetCommand>(); }

}  // namespace orvane::cli
