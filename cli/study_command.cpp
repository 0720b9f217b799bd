// orvane-cli sweep and optimize: design studies over one project.
//
//   orvane-cli sweep [FILE.cys] --vary NAME=FROM:TO:STEP [--vary ...] [--set NAME=VALUE]...
//                    [-o out.csv] [--json] [--jobs N] [--data DIR]
//   orvane-cli optimize [FILE.cys] --free NAME=FROM:TO:STEP|stiffener=TABLE|ring=TABLE ...
//                    [--set NAME=VALUE]... [--top N] [-o out.csv] [--apply K -o new.cys]
//                    [--json] [--jobs N] [--data DIR]
//
// Exit codes: sweep 0 when every point ran (whatever their verdicts; the
// rows carry them), 2 bad command line, range, file, data or output.
// optimize 0 a passing design was found (and written with --apply), 1 no
// candidate passes, 2 as for sweep.
#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/commands.hpp"
#include "cli/progress.hpp"
#include "cli/project_open.hpp"
#include "files/input_text.hpp"
#include "model/format.hpp"
#include "model/stop_token.hpp"
#include "project/session.hpp"
#include "project/study.hpp"
#include "project/study_csv.hpp"

namespace orvane::cli {

namespace {

// Numbers as the shortest text that reads back to the same double, so that
// a row of the output typed as --set values gives the same results.
std::string number(double v) { return shortestText(v); }

// JSON text that survives any input: file names that are not UTF-8 are
// shown as \xNN by printable(), so dump() cannot throw on them.
std::string jsonLine(const nlohmann::json& j) {
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

const char* directionName(Crossing::Direction d) {
  return d == Crossing::Direction::Rising ? "rising" : "falling";
}

nlohmann::json checkJson(const CheckValue& v) {
  nlohmann::json j = {{"uf", v.uf}, {"allow", v.allow}, {"verdict", verdictWord(v.exceeded())}};
  if (v.hasAlt) j["uf_alt"] = v.ufAlt;
  return j;
}

bool isRuleOption(const std::string& s) {
  return s.rfind("rules=", 0) == 0 || s.rfind("ends=", 0) == 0;
}

// The --set values that go into every row of the study: all but the rule
// options, which judge the whole study and go into its base project.
std::vector<std::string> rowSettings(const Context& c) {
  std::vector<std::string> rows;
  for (const std::string& s : c.sets)
    if (!isRuleOption(s)) rows.push_back(s);
  return rows;
}

// The project as `check FILE` reaches it, with the rule options.
Result<OpenedProject, OpenProblems> openBase(const Context& c, const std::string& file) {
  std::vector<std::string> options;
  for (const std::string& s : c.sets)
    if (isRuleOption(s)) options.push_back(s);
  return Session::openHeadless({.dataDir = c.dataDir, .file = file, .sets = options});
}

// An output stream over -o FILE, or over standard output without it.
struct Sink {
  std::optional<OutputFile> file;
  std::optional<OutputBuffer> buffer;
  std::optional<std::ostream> stream;

  std::ostream& to(std::ostream& out) {
    if (!file) return out;
    if (!stream) {
      buffer.emplace(*file);
      stream.emplace(&*buffer);
    }
    return *stream;
  }
  // Flushes and commits the file; false with the message on failure.
  bool close(const Context& c, const std::string& prefix) {
    if (!file) return true;
    if (stream) stream->flush();
    if (stream && !*stream) {
      const Status w = file->write({});
      problem(c, prefix, w ? "can't write " + file->path().string() : w.error().text());
      return false;
    }
    return commitOutput(c, prefix, *file);
  }
};

class SweepCommand final : public Command {
 public:
  std::string prefix() const override { return "orvane-cli sweep"; }

  CLI::App* add(CLI::App& app) override {
    CLI::App* cmd = app.add_subcommand(
        "sweep",
        "evaluate every point of a grid of one or two inputs as a check with those values, "
        "and where each usage factor crosses its allowable");
    cmd->add_option("FILE", file_, "project file (.cys); the new-project defaults without it");
    cmd->add_option("--vary", vary_, "an input and its grid (one or two)")
        ->type_name("NAME=FROM:TO:STEP")
        ->allow_extra_args(false)
        ->required();
    cmd->add_option("-o,--output", output_, "write the points as CSV to this file")
        ->type_name("out.csv");
    cmd->add_flag("--json", json_,
                  "JSON Lines on standard output: one object per point, then one with the\n"
                  "ranges, checks and crossings");
    addJobsOption(cmd, jobs_);
    cmd->footer(
        "Every --set NAME=VALUE is stored in every point before the varied values.\n"
        "In the shell modes the section forces N M1 M2 T Q1 Q2 (kN, kNm) may be varied or\n"
        "set instead of sigx and tau: each point is then checked all round the\n"
        "circumference, and CHECK_theta, CHECK_sigx and CHECK_tau give each check's point.\n"
        "Exit status: 0 the sweep ran (each row carries its own verdict), 2 bad command line,\n"
        "range, value, file, data or output. Without -o the CSV goes to standard output and\n"
        "the crossings to standard error.");
    return cmd;
  }

  Exit run(const Context& c) override;

 private:
  std::string crossingText(const SweepResult& r, const Crossing& x) const {
    const std::string& name = r.ranges[0].name;
    const bool rising = x.direction == Crossing::Direction::Rising;
    return std::string(checkName(x.check)) + ": passes for " + name + (rising ? " <= " : " >= ") +
           number(x.value) + " (uf " + number(x.atPassing.uf) + " of " + number(x.atPassing.allow) +
           "), exceeded at " + number(x.exceeded) + " (uf " + number(x.atExceeded.uf) + ")";
  }

  std::string file_, output_;
  std::vector<std::string> vary_;
  bool json_ = false;
  int jobs_ = 0;
};

Exit SweepCommand::run(const Context& c) {
  std::vector<StudyRange> ranges;
  if (vary_.size() > 2) return problem(c, prefix(), "--vary names one or two inputs");
  for (const std::string& v : vary_) {
    auto r = parseRange(v);
    if (!r) return problem(c, prefix(), r.error().message);
    ranges.push_back(r.value());
  }
  if (auto p = checkRanges(ranges)) return problem(c, prefix(), *p);
  const auto base = openBase(c, file_);
  if (!openedWell(c, base)) return Exit::Usage;

  Sink sink;
  if (!output_.empty()) {
    sink.file = openOutput(c, prefix(), output_, {file_});
    if (!sink.file) return Exit::Usage;
  }
  std::ostream* csv = !output_.empty() ? &sink.to(c.out) : json_ ? nullptr : &c.out;
  bool headerDone = false;
  StopSource stop;
  std::string line;
  Progress bar(c.err, c.terminal, "points");
  auto result = sweepStream(
      base.value(), ranges, rowSettings(c), jobs_,
      [&](const SweepResult& shape, const SweepPoint& p) {
        if (csv) {
          if (!headerDone) writeSweepHeader(*csv, shape);
          headerDone = true;
          writeSweepRow(*csv, shape, p);
          if (!*csv) stop.request_stop();
        }
        if (json_) {
          // one point a line, as it comes: memory stays flat for any grid
          line = "{\"values\":[";
          for (size_t i = 0; i < ranges.size(); ++i) line += (i ? "," : "") + number(p.values[i]);
          line += "],\"status\":\"";
          line += statusName(p.outcome.status());
          line += "\",\"checks\":{";
          bool first = true;
          for (CheckId id : shape.checks) {
            const CheckValue& v = p.outcome[id];
            if (!v.shown) continue;
            nlohmann::json j = checkJson(v);
            if (shape.forces && p.outcome.fault.empty()) {
              const GoverningPoint& g = p.points[static_cast<size_t>(id)];
              j["theta"] = g.theta;
              j["sigx"] = g.sigx;
              j["tau"] = g.tau;
            }
            line += (first ? "\"" : ",\"") + std::string(checkName(id)) + "\":" + j.dump();
            first = false;
          }
          line += "},\"local_nok\":" + std::to_string(p.outcome.localNok) + ",\"fault\":" +
                  nlohmann::json(p.outcome.fault.empty() ? p.outcome.inputError : p.outcome.fault)
                      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
                  "}\n";
          c.out << line;
          if (!c.out) stop.request_stop();
        }
      },
      [&](uint64_t done, uint64_t total) { bar.update(done, total); }, stop.get_token());
  bar.finish();
  if (!result) return problem(c, prefix(), result.error().message);
  const SweepResult& r = result.value();
  if (csv && !headerDone) writeSweepHeader(*csv, r);
  if (r.stopped) {
    if (csv && csv != &c.out) sink.close(c, prefix());
    return Exit::Usage;  // an output refused a write; the reason follows or was said
  }
  if (!sink.close(c, prefix())) return Exit::Usage;

  if (json_) {
    nlohmann::json j;
    j["file"] = printable(file_);
    j["ranges"] = nlohmann::json::array();
    for (const StudyRange& range : r.ranges)
      j["ranges"].push_back({{"name", range.name},
                             {"from", range.from},
                             {"to", range.to},
                             {"step", range.step},
                             {"count", range.count()}});
    j["checks"] = nlohmann::json::array();
    for (CheckId id : r.checks) j["checks"].push_back(checkName(id));
    j["crossings"] = nlohmann::json::array();
    for (const Crossing& x : r.crossings)
      j["crossings"].push_back({{"check", checkName(x.check)},
                                {"direction", directionName(x.direction)},
                                {"value", x.value},
                                {"exceeded", x.exceeded},
                                {"passing", checkJson(x.atPassing)},
                                {"exceeded_at", checkJson(x.atExceeded)}});
    c.out << jsonLine(j);
  } else {
    std::ostream& text = csv == &c.out ? c.err : c.out;
    for (const Crossing& x : r.crossings) text << crossingText(r, x) << "\n";
    if (csv != &c.out) {
      uint64_t count = 1;
      for (const StudyRange& range : r.ranges) count *= range.count();
      text << count << " points written to " << printable(output_) << "\n";
    }
  }
  return Exit::Ok;
}

std::string designLine(size_t rank, const OptimiseResult& r, const Design& d) {
  std::string line = std::to_string(rank) + ". " + number(d.mass) + " kg/m, " +
                     checkName(d.governing) + " uf " + number(d.uf) + " of " + number(d.allow) +
                     ":";
  for (const std::string& s : designSettings({}, r, d)) line += " " + s;
  if (!d.stiffener.empty()) line += " (stiffener " + d.stiffener + ")";
  if (!d.ring.empty()) line += " (ring frame " + d.ring + ")";
  return line;
}

class OptimizeCommand final : public Command {
 public:
  std::string prefix() const override { return "orvane-cli optimize"; }

  CLI::App* add(CLI::App& app) override {
    CLI::App* cmd = app.add_subcommand(
        "optimize",
        "search a grid of free inputs and profile choices for the lightest design (steel mass "
        "per metre) that passes every check");
    cmd->add_option("FILE", file_, "project file (.cys); the new-project defaults without it");
    cmd->add_option("--free", free_, "a free input on a grid, or a free profile of the tables")
        ->type_name("NAME=FROM:TO:STEP|stiffener=TABLE|ring=TABLE")
        ->allow_extra_args(false)
        ->required();
    cmd->add_option("--top", top_, "how many of the lightest passing designs to list (1 to 10000)")
        ->check(wholeNumber(1, 10000));
    cmd->add_option("--apply", apply_, "write design K of the list as the project file -o")
        ->type_name("K")
        ->check(wholeNumber(1, 10000));
    cmd->add_option("-o,--output", output_,
                    "the designs as CSV, or with --apply the project file to write")
        ->type_name("FILE");
    cmd->add_flag("--json", json_,
                  "JSON Lines: one object per design, lightest first, then one with the counts");
    addJobsOption(cmd, jobs_);
    cmd->footer(
        "TABLE is bulb, l, t, flat or all (several joined by commas). Every --set\n"
        "NAME=VALUE is stored in every candidate first.\n"
        "Exit status: 0 a passing design was found (and written with --apply), 1 no\n"
        "candidate passes, 2 bad command line, range, value, file, data or output.");
    return cmd;
  }

  Exit run(const Context& c) override;

 private:
  std::string file_, output_;
  std::vector<std::string> free_;
  bool json_ = false;
  int jobs_ = 0;
  size_t top_ = 10;
  size_t apply_ = 0;  // 1-based design to write; 0: none
};

Exit OptimizeCommand::run(const Context& c) {
  if (apply_ > 0 && output_.empty())
    return problem(c, prefix(), "--apply needs the project file to write after -o");
  OptimiseSpec search;
  search.fixed = rowSettings(c);
  search.top = std::max(top_, apply_);
  for (const std::string& f : free_) {
    auto parsed = parseFree(f);
    if (!parsed) return problem(c, prefix(), parsed.error().message);
    if (const auto* g = std::get_if<StudyRange>(&parsed.value()))
      search.grids.push_back(*g);
    else
      search.profiles.push_back(std::get<ProfileFreedom>(parsed.value()));
  }
  if (auto p = checkRanges(search.grids)) return problem(c, prefix(), *p);
  const auto base = openBase(c, file_);
  if (!openedWell(c, base)) return Exit::Usage;
  // the output is known to be writable before the search runs
  Sink sink;
  if (!output_.empty()) {
    sink.file = openOutput(c, prefix(), output_, {file_}, apply_ == 0);
    if (!sink.file) return Exit::Usage;
  }

  Progress bar(c.err, c.terminal, "candidates");
  auto result = optimise(base.value(), search, jobs_,
                         [&](uint64_t done, uint64_t total) { bar.update(done, total); });
  bar.finish();
  if (!result) return problem(c, prefix(), result.error().message);
  const OptimiseResult& r = result.value();

  if (apply_ > 0) {
    if (apply_ > r.designs.size())
      return problem(c, prefix(),
                     "--apply " + std::to_string(apply_) + ": only " +
                         std::to_string(r.designs.size()) + " design(s) pass");
    sink.file->abort();  // the project writer opens the file itself, with the same checks
    ProjectState ps = base.value().state;
    RecordingEvents ev;
    Session session(ps, ev);
    for (const std::string& s : designSettings(search, r, r.designs[apply_ - 1]))
      if (auto e = session.set(s)) return problem(c, prefix(), *e);
    session.recalculate();
    if (const Status written = session.save(output_); !written)
      return problem(c, prefix(), written.error().text());
  } else if (sink.file) {
    std::ostream& csv = sink.to(c.out);
    csv << "rank,mass_kg_per_m,governing,uf,allow";
    for (const std::string& col : r.columns) csv << "," << col;
    csv << ",stiffener,ring\n";
    for (size_t i = 0; i < r.designs.size(); ++i) {
      const Design& d = r.designs[i];
      csv << i + 1 << "," << number(d.mass) << "," << checkName(d.governing) << "," << number(d.uf)
          << "," << number(d.allow);
      for (double v : d.values) csv << "," << number(v);
      csv << "," << csvCell(d.stiffener) << "," << csvCell(d.ring) << "\n";
    }
    if (!sink.close(c, prefix())) return Exit::Usage;
  }

  if (json_) {
    for (const Design& d : r.designs) {
      nlohmann::json values = nlohmann::json::object();
      for (size_t i = 0; i < r.columns.size(); ++i) values[r.columns[i]] = d.values[i];
      c.out << jsonLine({{"mass", d.mass},
                         {"governing", checkName(d.governing)},
                         {"uf", d.uf},
                         {"allow", d.allow},
                         {"values", values},
                         {"stiffener", d.stiffener},
                         {"ring", d.ring}});
    }
    nlohmann::json j;
    j["file"] = printable(file_);
    j["candidates"] = r.candidates;
    j["evaluated"] = r.evaluated;
    j["columns"] = r.columns;
    j["designs"] = r.designs.size();
    c.out << jsonLine(j);
  } else {
    c.out << r.candidates << " candidates, " << r.evaluated << " run; "
          << (r.designs.empty() ? "no design passes" : "the lightest passing designs:") << "\n";
    for (size_t i = 0; i < r.designs.size() && i < top_; ++i)
      c.out << designLine(i + 1, r, r.designs[i]) << "\n";
    if (apply_ > 0) c.out << "design " << apply_ << " written to " << printable(output_) << "\n";
  }
  return r.designs.empty() ? Exit::Exceeded : Exit::Ok;
}

}  // namespace

std::unique_ptr<Command> makeSweepCommand() { return std::make_unique<SweepCommand>(); }
std::unique_ptr<Command> makeOptimizeCommand() { return std::make_unique<OptimizeCommand>(); }

}  // namespace orvane::cli
