#include "cli/study_commands.hpp"

#include "cli/rule_notes_output.hpp"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <charconv>
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "files/input_text.hpp"
#include "model/format.hpp"
#include "project/session.hpp"
#include "project/study.hpp"
#include "project/study_csv.hpp"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

constexpr int kOk = 0, kNone = 1, kUsage = 2;

struct StudyOptions {
  std::string command;  // sweep or optimize
  std::string file;
  std::vector<std::string> vary, free, sets;
  std::vector<std::string> rules;  // rules=MODE of --rules, stored in the base project
  std::string output, data;
  bool json = false;
  int jobs = 0;
  size_t top = 10;
  size_t apply = 0;  // 1-based design to write; 0: none
};

// Numbers as the shortest text that reads back to the same double, so that
// a row of the output typed as --set values gives the same results.
std::string number(double v) { return shortestText(v); }

const char* directionName(Crossing::Direction d) {
  return d == Crossing::Direction::Rising ? "rising" : "falling";
}

// A bar on standard error while it is a terminal, redrawn per percent.
class ProgressBar {
 public:
  explicit ProgressBar(std::ostream& err) : err_(err), on_(&err == &std::cerr && isatty(2)) {}
  ~ProgressBar() { finish(); }
  // Clears the bar before the results are printed.
  void finish() {
    if (on_ && drawn_ >= 0) err_ << "\r" << std::string(60, ' ') << "\r" << std::flush;
    drawn_ = -1;
  }
  StudyProgress callback() {
    if (!on_) return {};
    return [this](uint64_t done, uint64_t total) {
      const int percent = total ? static_cast<int>(done * 100 / total) : 100;
      if (percent == drawn_) return;
      drawn_ = percent;
      const int filled = percent * 30 / 100;
      err_ << "\r[" << std::string(static_cast<size_t>(filled), '#')
           << std::string(static_cast<size_t>(30 - filled), ' ') << "] " << percent << "% " << done
           << "/" << total << std::flush;
    };
  }

 private:
  std::ostream& err_;
  bool on_;
  int drawn_ = -1;
};

std::variant<StudyOptions, int> parse(const std::vector<std::string>& args, std::ostream& out,
                                      std::ostream& err) {
  StudyOptions o;
  o.command = args.at(0);
  const bool sweep = o.command == "sweep";
  CLI::App app(sweep ? "Evaluates every point of a grid of one or two inputs as a check "
                       "with those values, and where each usage factor crosses its allowable."
                     : "Searches a grid of free inputs and profile choices for the lightest "
                       "design (steel mass per metre) that passes every check.",
               "orvane-cli " + o.command);
  app.add_option("FILE", o.file, "project file (.cys); the new-project defaults without it");
  if (sweep) {
    app.add_option("--vary", o.vary, "an input and its grid (one or two)")
        ->type_name("NAME=FROM:TO:STEP")
        ->allow_extra_args(false)
        ->required();
    app.add_option("-o,--output", o.output, "write the points as CSV to this file")
        ->type_name("out.csv");
    app.add_flag("--json", o.json, "one JSON object with points and crossings on standard output");
    app.footer(
        "Exit status: 0 the sweep ran (each row carries its own verdict), 2 bad command line,\n"
        "range, value, file or data. Without -o the CSV goes to standard output and the\n"
        "crossings to standard error.");
  } else {
    app.add_option("--free", o.free, "a free input on a grid, or a free profile of the tables")
        ->type_name("NAME=FROM:TO:STEP|stiffener=TABLE|ring=TABLE")
        ->allow_extra_args(false)
        ->required();
    app.add_option("--top", o.top, "how many of the lightest passing designs to list")
        ->check(CLI::Range(1, 10000));
    app.add_option("--apply", o.apply, "write design K of the list as the project file -o")
        ->type_name("K")
        ->check(CLI::PositiveNumber);
    app.add_option("-o,--output", o.output,
                   "the designs as CSV, or with --apply the project file to write")
        ->type_name("FILE");
    app.add_flag("--json", o.json, "the designs as one JSON object");
    app.footer(
        "TABLE is bulb, l, t, flat or all (several joined by commas).\n"
        "Exit status: 0 a passing design was found (and written with --apply), 1 no\n"
        "candidate passes, 2 bad command line, range, value, file or data.");
  }
  app.add_option("--set", o.sets, "store NAME=VALUE in every row before the study's values")
      ->type_name("NAME=VALUE")
      ->allow_extra_args(false);
  addRulesOption(&app, o.rules);
  app.add_option("--jobs", o.jobs, "threads (default: one per core)")->check(CLI::Range(0, 256));
  app.add_option("--data", o.data, "folder of DNVmat.dat and the profile tables")->type_name("DIR");
  std::vector<std::string> reversed(args.rbegin(), args.rend() - 1);
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
      app.exit(e, out, err);
      return kOk;
    }
    err << "orvane-cli " << o.command << ": " << printable(e.what()) << "\n"
        << "Run 'orvane-cli " << o.command << " --help' for its options.\n";
    return kUsage;
  }
  if (!sweep && o.apply > 0 && o.output.empty()) {
    err << "orvane-cli optimize: --apply needs the project file to write after -o\n";
    return kUsage;
  }
  return o;
}

struct Base {
  ProjectState ps;
  std::optional<std::string> fault;
};

std::unique_ptr<Base> openBase(const StudyOptions& o, const fs::path& dataDir, std::ostream& err) {
  auto base = std::make_unique<Base>();
  RecordingEvents ev;
  Session session(base->ps, ev);
  const auto problems =
      session.openHeadless(o.data.empty() ? dataDir : fs::path(o.data), o.file, o.rules);
  for (const std::string& p : problems) err << "orvane-cli: " << printable(p) << "\n";
  if (!problems.empty()) return nullptr;
  base->fault = session.fault();
  return base;
}

int problem(const std::string& command, const std::string& text, std::ostream& err) {
  err << "orvane-cli " << command << ": " << printable(text) << "\n";
  return kUsage;
}

nlohmann::json checkJson(const CheckValue& v) {
  nlohmann::json j = {{"uf", v.uf}, {"allow", v.allow}, {"verdict", verdictWord(v.exceeded())}};
  if (v.hasAlt) j["uf_alt"] = v.ufAlt;
  return j;
}

std::string crossingText(const SweepResult& r, const Crossing& x) {
  const std::string& name = r.ranges[0].name;
  const bool rising = x.direction == Crossing::Direction::Rising;
  return std::string(checkName(x.check)) + ": passes for " + name + (rising ? " <= " : " >= ") +
         number(x.value) + " (uf " + number(x.atPassing.uf) + " of " + number(x.atPassing.allow) +
         "), exceeded at " + number(x.exceeded) + " (uf " + number(x.atExceeded.uf) + ")";
}

int runSweep(const StudyOptions& o, const fs::path& dataDir, std::ostream& out, std::ostream& err) {
  std::vector<StudyRange> ranges;
  if (o.vary.size() > 2) return problem("sweep", "--vary names one or two inputs", err);
  for (const std::string& v : o.vary) {
    auto r = parseRange(v);
    if (!r) return problem("sweep", r.error().message, err);
    ranges.push_back(r.value());
  }
  if (auto p = checkRanges(ranges)) return problem("sweep", *p, err);
  const auto base = openBase(o, dataDir, err);
  if (!base) return kUsage;

  std::ofstream file;
  if (!o.output.empty()) {
    file.open(o.output, std::ios::binary);
    if (!file) return problem("sweep", "can't write " + o.output, err);
  }
  std::ostream* csv = !o.output.empty() ? static_cast<std::ostream*>(&file)
                      : o.json          ? nullptr
                                        : &out;
  nlohmann::json points = nlohmann::json::array();
  bool headerDone = false;
  ProgressBar bar(err);
  auto result = sweepStream(
      base->ps, base->fault, ranges, o.sets, o.jobs,
      [&](const SweepResult& shape, const SweepPoint& p) {
        if (csv) {
          if (!headerDone) writeSweepHeader(*csv, shape);
          headerDone = true;
          writeSweepRow(*csv, shape, p);
        }
        if (o.json) {
          nlohmann::json checks = nlohmann::json::object();
          for (CheckId c : shape.checks)
            if (p.outcome[c].shown) checks[checkName(c)] = checkJson(p.outcome[c]);
          nlohmann::json values = nlohmann::json::array();
          for (size_t i = 0; i < ranges.size(); ++i) values.push_back(p.values[i]);
          points.push_back(
              {{"values", values},
               {"status", statusName(p.outcome.status())},
               {"checks", checks},
               {"local_nok", p.outcome.localNok},
               {"fault", p.outcome.fault.empty() ? p.outcome.inputError : p.outcome.fault}});
        }
      },
      bar.callback());
  bar.finish();
  if (!result) return problem("sweep", result.error().message, err);
  const SweepResult& r = result.value();
  if (csv && !headerDone) writeSweepHeader(*csv, r);
  if (file.is_open()) {
    file.close();
    if (!file) return problem("sweep", "can't write " + o.output, err);
  }

  if (o.json) {
    nlohmann::json j;
    j["file"] = o.file;
    j["ranges"] = nlohmann::json::array();
    for (const StudyRange& range : r.ranges)
      j["ranges"].push_back({{"name", range.name},
                             {"from", range.from},
                             {"to", range.to},
                             {"step", range.step},
                             {"count", range.count()}});
    j["checks"] = nlohmann::json::array();
    for (CheckId c : r.checks) j["checks"].push_back(checkName(c));
    j["points"] = std::move(points);
    j["crossings"] = nlohmann::json::array();
    for (const Crossing& x : r.crossings)
      j["crossings"].push_back({{"check", checkName(x.check)},
                                {"direction", directionName(x.direction)},
                                {"value", x.value},
                                {"exceeded", x.exceeded},
                                {"passing", checkJson(x.atPassing)},
                                {"exceeded_at", checkJson(x.atExceeded)}});
    out << j.dump() << "\n";
  } else {
    std::ostream& text = csv == &out ? err : out;
    for (const Crossing& x : r.crossings) text << crossingText(r, x) << "\n";
    if (csv != &out) {
      uint64_t count = 1;
      for (const StudyRange& range : r.ranges) count *= range.count();
      text << count << " points written to " << o.output << "\n";
    }
  }
  return kOk;
}

std::string designLine(size_t rank, const OptimiseSpec& search, const OptimiseResult& r,
                       const Design& d) {
  std::string line = std::to_string(rank) + ". " + number(d.mass) + " kg/m, " +
                     checkName(d.governing) + " uf " + number(d.uf) + " of " + number(d.allow) +
                     ":";
  for (const std::string& s : designSettings({}, r, d)) line += " " + s;
  if (!d.stiffener.empty()) line += " (stiffener " + d.stiffener + ")";
  if (!d.ring.empty()) line += " (ring frame " + d.ring + ")";
  (void)search;
  return line;
}

int runOptimise(const StudyOptions& o, const fs::path& dataDir, std::ostream& out,
                std::ostream& err) {
  OptimiseSpec search;
  search.fixed = o.sets;
  search.top = std::max(o.top, o.apply);
  for (const std::string& f : o.free) {
    auto parsed = parseFree(f);
    if (!parsed) return problem("optimize", parsed.error().message, err);
    if (const auto* g = std::get_if<StudyRange>(&parsed.value()))
      search.grids.push_back(*g);
    else
      search.profiles.push_back(std::get<ProfileFreedom>(parsed.value()));
  }
  if (auto p = checkRanges(search.grids)) return problem("optimize", *p, err);
  const auto base = openBase(o, dataDir, err);
  if (!base) return kUsage;

  ProgressBar bar(err);
  auto result = optimise(base->ps, base->fault, search, o.jobs, bar.callback());
  bar.finish();
  if (!result) return problem("optimize", result.error().message, err);
  const OptimiseResult& r = result.value();

  if (o.apply > 0) {
    if (o.apply > r.designs.size())
      return problem("optimize",
                     "--apply " + std::to_string(o.apply) + ": only " +
                         std::to_string(r.designs.size()) + " design(s) pass",
                     err);
    ProjectState ps = base->ps;
    RecordingEvents ev;
    Session session(ps, ev);
    for (const std::string& s : designSettings(search, r, r.designs[o.apply - 1]))
      if (auto e = session.set(s)) return problem("optimize", *e, err);
    session.recalculate();
    if (const Status written = session.save(o.output); !written)
      return problem("optimize", written.error().text(), err);
  } else if (!o.output.empty()) {
    std::ofstream csv(o.output, std::ios::binary);
    csv << "rank,mass_kg_per_m,governing,uf,allow";
    for (const std::string& c : r.columns) csv << "," << c;
    csv << ",stiffener,ring\n";
    for (size_t i = 0; i < r.designs.size(); ++i) {
      const Design& d = r.designs[i];
      csv << i + 1 << "," << number(d.mass) << "," << checkName(d.governing) << "," << number(d.uf)
          << "," << number(d.allow);
      for (double v : d.values) csv << "," << number(v);
      csv << "," << csvCell(d.stiffener) << "," << csvCell(d.ring) << "\n";
    }
    csv.close();
    if (!csv) return problem("optimize", "can't write " + o.output, err);
  }

  if (o.json) {
    nlohmann::json j;
    j["file"] = o.file;
    j["candidates"] = r.candidates;
    j["evaluated"] = r.evaluated;
    j["columns"] = r.columns;
    j["designs"] = nlohmann::json::array();
    for (const Design& d : r.designs) {
      nlohmann::json values = nlohmann::json::object();
      for (size_t i = 0; i < r.columns.size(); ++i) values[r.columns[i]] = d.values[i];
      j["designs"].push_back({{"mass", d.mass},
                              {"governing", checkName(d.governing)},
                              {"uf", d.uf},
                              {"allow", d.allow},
                              {"values", values},
                              {"stiffener", d.stiffener},
                              {"ring", d.ring}});
    }
    out << j.dump() << "\n";
  } else {
    out << r.candidates << " candidates, " << r.evaluated << " run; "
        << (r.designs.empty() ? "no design passes" : "the lightest passing designs:") << "\n";
    for (size_t i = 0; i < r.designs.size() && i < o.top; ++i)
      out << designLine(i + 1, search, r, r.designs[i]) << "\n";
    if (o.apply > 0) out << "design " << o.apply << " written to " << o.output << "\n";
  }
  return r.designs.empty() ? kNone : kOk;
}

}  // namespace

bool isStudyCommand(const std::vector<std::string>& args) {
  return !args.empty() && (args[0] == "sweep" || args[0] == "optimize");
}

int runStudy(const std::vector<std::string>& args, const fs::path& dataDir, std::ostream& out,
             std::ostream& err) {
  const auto parsed = parse(args, out, err);
  if (const int* code = std::get_if<int>(&parsed)) return *code;
  const StudyOptions& o = std::get<StudyOptions>(parsed);
  return o.command == "sweep" ? runSweep(o, dataDir, out, err) : runOptimise(o, dataDir, out, err);
}

}  // namespace orvane::cli
