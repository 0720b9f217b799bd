// The browser module: the calculator's JavaScript face (embind). A thin
// front end like orvane-cli: every step goes through orvane::Session, the
// outputs through the command line's own writers.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"
#include "cli/result_output.hpp"
#include "cli/sheet_output.hpp"
#include "core/calc_driver.hpp"
#include "core/calc_sheet.hpp"
#include "core/calc_trace.hpp"
#include "core/panels.hpp"
#include "model/codes.hpp"
#include "model/format.hpp"
#include "model/number_text.hpp"
#include "model/project_state.hpp"
#include "project/input_names.hpp"
#include "project/inputs.hpp"
#include "project/session.hpp"
#include "sections/profile_tables.hpp"
#include "web/panel_font.hpp"

namespace orvane::web {
namespace {

using nlohmann::json;

constexpr const char* kDataDir = "/data";
constexpr const char* kWorkDir = "/tmp";

// The panels' units: x in 1/12 inch, y in 1/6 inch, at 96 dots per inch
// (8 and 16 pixels); a text line is the font's line step. The page has room
// for that line step; the desktop window steps one line of its panel font,
// so that its panels stand whole on small screens.
constexpr double kXUnit = 8.0, kYUnit = 16.0;

std::string hexColor(int palette) {
  const Rgb c = paletteColor(palette);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c.r & 0xff, c.g & 0xff, c.b & 0xff);
  return buf;
}

// Records every printed text with its position, colour and style; widths in
// pixels come from the page's measure(text, bold) or, without one, from
// the width table of the window's panel font (web/panel_font.hpp).
class RecordingTarget final : public DrawTarget {
 public:
  explicit RecordingTarget(emscripten::val measure) : measure_(std::move(measure)) {}
  void cls() override {
    lines = json::array();
    x_ = y_ = 0;
  }
  double currentX() const override { return x_; }
  double currentY() const override { return y_; }
  void setCurrentX(double x) override { x_ = x; }
  void setCurrentY(double y) override { y_ = y; }
  void setUnderline(bool on) override { underline_ = on; }
  void setBold(bool on) override { bold_ = on; }
  void setForeColor(int palette) override { color_ = palette; }
  double textWidth(const std::string& text) override { return pixels(text) / kXUnit; }
  void print(const std::string& text, bool newline) override {
    if (!text.empty())
      lines.push_back({{"text", text},
                       {"color", hexColor(color_)},
                       {"bold", bold_},
                       {"underline", underline_},
                       {"x", x_ * kXUnit},
                       {"y", y_ * kYUnit}});
    if (newline) {
      x_ = 0;
      y_ += kPanelLinePixels / kYUnit;
    } else {
      x_ += textWidth(text);
    }
  }
  json lines = json::array();

 private:
  double pixels(const std::string& text) const {
    if (measure_.typeOf().as<std::string>() == "function")
      return measure_(text, bold_).as<double>();
    return panelTextPixels(text, bold_);
  }
  emscripten::val measure_;
  double x_ = 0, y_ = 0;
  bool underline_ = false, bold_ = false;
  int color_ = kBlack;
};

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

emscripten::val bytesOf(const std::string& s) {
  return emscripten::val::global("Uint8Array")
      .new_(emscripten::typed_memory_view(s.size(), reinterpret_cast<const uint8_t*>(s.data())))
      .call<emscripten::val>("slice");
}

// The title of a warning box that is about no field.
constexpr const char* kAppTitle = "Orvane DNV";

json warningsJson(const std::vector<std::string>& texts) {
  json out = json::array();
  for (const std::string& t : texts) out.push_back({{"title", kAppTitle}, {"text", t}});
  return out;
}

// A JavaScript string (embind: one wchar_t a code point) as UTF-16, as the
// window's field holds it.
std::u16string utf16(const std::wstring& text) {
  std::u16string out;
  for (const wchar_t w : text) {
    const auto c = static_cast<char32_t>(w);
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

}  // namespace

class Calculator final : private ProjectView {
 public:
  Calculator() : session_(ps_, events_, this) {
    // The module's file system starts with the mask 0777: files written
    // would have no permissions, and a save could not replace them.
    ::umask(022);
    session_.setRecorder(&trace_);
    std::vector<std::string> problems;
    for (const Error& e : session_.startUp(kDataDir)) problems.push_back(e.text());
    startProblems_ = problems;
    events_.warnings.clear();
  }

  std::string inputs() const {
    json out = json::array();
    for (const InputDef& in : inputTable()) {
      const InputCaption c = inputCaption(in.id);
      json row = {{"name", std::string(in.name)},
                  {"caption", std::string(c.caption)},
                  {"unit", std::string(c.unit)},
                  {"kind", in.kind == InputKind::Integer ? "integer" : "number"}};
      if (in.pattern) row["pattern"] = in.pattern;
      if (in.rule == InputRule::PlateMaterial || in.rule == InputRule::StiffenerMaterial ||
          in.rule == InputRule::RingMaterial)
        row["choices"] = materialNames();
      out.push_back(std::move(row));
    }
    return out.dump();
  }

  std::string state() const {
    json values = json::object(), mode = json::object();
    for (const InputDef& in : inputTable()) {
      const double v = in.get(ps_);
      const std::string name(in.name);
      if (in.kind == InputKind::Integer) {
        values[name] = std::to_string(static_cast<int>(v));
        mode[name] = static_cast<int>(v);
      } else {
        values[name] = in.pattern ? format(v, in.pattern) : fileNumber(v);
      }
    }
    // as the window's refresh leaves them: a strength is typed only for the
    // user-defined material (the list's last row), heavy ring-frame control
    // only with ring-frame control
    json enabled = json::object();
    for (const InputDef& in : inputTable()) enabled[std::string(in.name)] = true;
    enabled["fyp"] = ps_.matp == ps_.mat.count;
    enabled["fys"] = ps_.mats == ps_.mat.count;
    enabled["fyg"] = ps_.matg == ps_.mat.count;
    enabled["hring_ch"] = ps_.ring_ch == 1;
    json out = {{"values", values},
                {"enabled", enabled},
                {"mode", mode},
                {"title", ps_.fileName},
                {"modified", modified_}};
    out["fault"] = session_.fault() ? json(*session_.fault()) : json(nullptr);
    if (!startProblems_.empty()) out["dataProblems"] = startProblems_;
    return out.dump();
  }

  // A typed value as the window takes it when its field is left: the
  // strict reader ('.' separator), the store with the field's tests, then
  // the run at the input's point of the cycle (MainWindow::leaveNumeric).
  std::string type(const std::string& name, const std::wstring& text) {
    const InputDef* in = findInput(name);
    if (!in) return json({{"ok", false}, {"error", "no input called '" + name + "'"}}).dump();
    const size_t before = events_.warnings.size();
    json warnings = json::array();
    const auto warn = [&](const std::string& message) {
      warnings.push_back({{"title", displayName(in->id)}, {"text", message}});
    };
    const NumberReading read = readFieldNumber(utf16(text), false);
    bool mismatch = false, focusBack = false;
    std::optional<Stored> stored;
    if (read.status == NumberReading::OutOfRange) {
      warn(in->checks[0].kind != InputCheck::Kind::None ? in->checks[0].message
                                                        : " -3.4E+38 <= value <= 3.4E+38 ");
      focusBack = true;
    } else if (!read.ok()) {
      warn("Input string mismatch ");
      mismatch = true;
    } else {
      stored = session_.store(*in, read.value);
      if (stored->failed >= 0) {
        warn(stored->warning);
        focusBack = true;
      }
      modified_ = true;
    }
    if (stored &&
        (in->calc == CalcStep::AfterStore || (in->calc == CalcStep::UsageFactor && stored->runs)))
      session_.recalculate();
    if (in->calc == CalcStep::AfterReport || in->calc == CalcStep::Last) session_.recalculate();
    for (size_t i = before; i < events_.warnings.size(); ++i)
      warnings.push_back({{"title", kAppTitle}, {"text", events_.warnings[i]}});
    return json({{"ok", stored.has_value() && !stored->refused},
                 {"mismatch", mismatch},
                 {"warnings", warnings},
                 {"focusBack", focusBack}})
        .dump();
  }

  std::string choose(const std::string& name, int value) {
    const InputDef* in = findInput(name);
    if (!in) return json({{"ok", false}, {"error", "no input called '" + name + "'"}}).dump();
    return step(*in, value);
  }

  std::string set(const std::string& assignment) {
    const size_t before = events_.warnings.size();
    json out = {{"ok", true}};
    if (auto e = session_.set(assignment)) {
      out["ok"] = false;
      out["error"] = *e;
    } else {
      modified_ = true;
    }
    out["warnings"] = warningsJson(
        {events_.warnings.begin() + static_cast<std::ptrdiff_t>(before), events_.warnings.end()});
    return out.dump();
  }

  std::string panelsFixed() const { return panels(emscripten::val::undefined()); }
  std::string panels(emscripten::val measure) const {
    const ShownPanels shown = shownPanels(ps_);
    json out = json::array();
    const auto panel = [&](const char* id, const char* title, auto draw) {
      RecordingTarget t(measure);
      t.cls();
      double y = 0.3;
      draw(t, y);
      out.push_back({{"id", id}, {"title", title}, {"lines", t.lines}});
    };
    panel("shell", "Shell buckling",
          [&](DrawTarget& t, double& y) { drawShellStandard(t, ps_, y, 1, 0); });
    if (shown.stiffener || shown.stiffenerNote || shown.column)
      panel("stiffener", shown.column ? "Column buckling" : "Stiffener buckling",
            [&](DrawTarget& t, double& y) {
              if (shown.column)
                drawColumn(t, ps_, y, 1, 0);
              else if (shown.stiffenerNote)
                drawStiffenerNote(t, ps_, y, 1, 0);
              else
                drawStiffenerStandard(t, ps_, y, 1, 0);
            });
    if (shown.ring)
      panel("ring", "Ring frame", [&](DrawTarget& t, double& y) { drawRing(t, ps_, y, 1, 0); });
    return out.dump();
  }

  std::string checkJson() const { return cli::resultJson(ps_, outcome()).dump(); }
  std::string checkText() const { return cli::resultText(ps_, outcome()) + "\n"; }

  void newProject() {
    events_.warnings.clear();
    file_.clear();
    session_.newProject();
    modified_ = false;
  }

  // Open of the bytes of a project file that the page read. The file is
  // opened under /tmp/open (never beside the embedded data); the project and
  // the messages then name it as the user chose it.
  std::string open(const std::string& bytes, const std::string& fileName) {
    const std::string name = fileName.empty() ? "project.cys" : fileName;
    const std::filesystem::path path =
        std::filesystem::path("/tmp/open") / std::filesystem::path(name).relative_path();
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    writeWhole(path.string(), bytes);
    events_.warnings.clear();
    const Status read = session_.open(path);
    std::filesystem::remove_all("/tmp/open", ec);
    if (!read) {
      std::string text = read.error().text();
      for (size_t at = text.find(path.string()); at != std::string::npos;
           at = text.find(path.string(), at + name.size()))
        text.replace(at, path.string().size(), name);
      return json({{"ok", false}, {"error", text}}).dump();
    }
    ps_.fileName = name;
    file_ = name;
    modified_ = false;
    return json({{"ok", true}, {"warnings", warningsJson(events_.warnings)}}).dump();
  }

  emscripten::val save() {
    const std::string path = std::string(kWorkDir) + "/save.cys";
    if (const Status s = session_.save(path); !s) return emscripten::val::null();
    const std::string bytes = readWhole(path);
    std::remove(path.c_str());
    std::remove((std::string(kWorkDir) + "/save.rules").c_str());
    modified_ = false;
    return bytesOf(bytes);
  }

  // The command line's batch on this project: the project as saved, the
  // table as a file, `orvane-cli batch --json` writing to a string.
  std::string batch(const std::string& table) {
    return runOnProject(
        {"batch", "", std::string(kWorkDir) + "/loads.csv", "--json", "--jobs", "1"}, &table);
  }

  // The calculation sheet of the last run, as `orvane-cli sheet` writes it
  // (the data files named as embedded, without a folder).
  std::string sheetHtml() const {
    SheetHeader header;
    header.date = cli::sheetDate();
    header.dataFiles = sheetDataFiles("");
    header.fault = session_.fault();
    header.warnings = events_.warnings;
    return calcSheetHtml(ps_, trace_, header);
  }

  // A profile table as the profile windows list it: "bulb", "l", "t" or
  // "flat"; each row its designation and the table's values.
  std::string profiles(const std::string& which) const {
    struct Named {
      const char* name;
      const ProfileTable& table;
      ProfileKind kind;
    };
    const Named tables[] = {{"bulb", ps_.prof.bulb, ProfileKind::BulbFlat},
                            {"l", ps_.prof.l, ProfileKind::L},
                            {"t", ps_.prof.t, ProfileKind::T},
                            {"flat", ps_.prof.flat, ProfileKind::FlatBar}};
    const ProfileTable* table = nullptr;
    ProfileKind kind = ProfileKind::L;
    for (const Named& n : tables) {
      if (which == n.name) {
        table = &n.table;
        kind = n.kind;
      }
    }
    json out = json::array();
    if (!table) return out.dump();
    const std::vector<std::string> names = profileList(*table, kind);
    for (size_t i = 0; i < names.size(); ++i) {
      json values = json::array();
      for (int c = 1; c <= table->columns; ++c)  // the table's columns start at 1
        values.push_back(table->row[i][static_cast<size_t>(c)]);
      out.push_back({{"designation", names[i]}, {"values", values}});
    }
    return out.dump();
  }

  // ---- Added for the calculator page ----------------------------------------
  // The General frame's two text fields, project name and identification:
  // text the window stores as typed, without a run; Save writes them.
  std::string texts() const {
    return json({{"projectName", ps_.projectName}, {"ident", ps_.ident}}).dump();
  }
  void setText(const std::string& field, const std::string& text) {
    if (field == "projectName")
      ps_.projectName = text;
    else if (field == "ident")
      ps_.ident = text;
    else
      return;
    modified_ = true;
  }
  // The entries of the window's lists: the material rows as read (the last,
  // `userMaterial`, takes a typed yield strength) and the profile types.
  std::string lists() const {
    json materials = json::array();
    for (int i = 0; i <= ps_.mat.count && i < MaterialTable::kRows; ++i)
      materials.push_back(ps_.mat.name[static_cast<size_t>(i)]);
    json out = {{"matp", materials},
                {"mats", materials},
                {"matg", materials},
                {"userMaterial", ps_.mat.count}};
    for (const auto& [name, member] :
         {std::pair{"cbostiff", Member::Stiffener}, std::pair{"cboring", Member::RingFrame}}) {
      json types = json::array();
      for (const char* t : profileListTexts(member)) types.push_back(t);
      out[name] = types;
    }
    return out.dump();
  }
  // ---- end of the page's additions ------------------------------------------

 private:
  void calculated(const std::optional<std::string>& fault) override {
    if (!fault) noteShown_ = ps_.cyltype != code(CylinderType::Column) && stiffenerNote(ps_);
  }

  // The material lists' rows, as the window fills them.
  json materialNames() const {
    json names = json::array();
    for (int i = 0; i <= ps_.mat.count && i < MaterialTable::kRows; ++i)
      names.push_back(ps_.mat.name[static_cast<size_t>(i)]);
    return names;
  }

  cli::CheckOutcome outcome() const {
    cli::CheckOutcome o;
    o.file = file_;
    o.fault = session_.fault();
    o.warnings = events_.warnings;
    o.noteShown = noteShown_;
    return o;
  }

  std::string step(const InputDef& in, double value) {
    const size_t before = events_.warnings.size();
    const Stored s = session_.enter(in, value);
    json out = {{"ok", !s.refused}, {"mismatch", false}, {"focusBack", s.failed >= 0}};
    if (s.refused) out["error"] = *s.refused;
    // the failed test's warning first (titled with the input), then the run's
    json warnings = json::array();
    for (size_t i = before; i < events_.warnings.size(); ++i) {
      const bool test = i == before && s.failed >= 0;
      warnings.push_back(
          {{"title", test ? displayName(in.id) : kAppTitle}, {"text", events_.warnings[i]}});
    }
    out["warnings"] = warnings;
    if (!s.refused) modified_ = true;
    return out.dump();
  }

  // Runs an orvane-cli command on the project as saved (args[1] is its
  // path) and returns what it wrote to standard output, or its errors.
  std::string runOnProject(std::vector<std::string> args, const std::string* table) {
    const std::string path = std::string(kWorkDir) + "/project.cys";
    if (const Status s = session_.save(path); !s) return "";
    args[1] = path;
    if (table) writeWhole(args[2], *table);
    args.push_back("--data");
    args.push_back(kDataDir);
    std::ostringstream out, err;
    cli::run(args, out, err);
    std::remove(path.c_str());
    std::remove((std::string(kWorkDir) + "/project.rules").c_str());
    if (table) std::remove(args[2].c_str());
    return out.str().empty() ? err.str() : out.str();
  }

  ProjectState ps_;
  RecordingEvents events_;
  CalcTrace trace_;  // the working of the last run, for the sheet
  Session session_;
  std::string file_;
  std::vector<std::string> startProblems_;
  bool modified_ = false;
  bool noteShown_ = false;
};

}  // namespace orvane::web

EMSCRIPTEN_BINDINGS(orvane) {
  using orvane::web::Calculator;
  emscripten::class_<Calculator>("Calculator")
      .constructor<>()
      .function("inputs", &Calculator::inputs)
      .function("state", &Calculator::state)
      .function("type", &Calculator::type)
      .function("choose", &Calculator::choose)
      .function("set", &Calculator::set)
      .function("panels", &Calculator::panelsFixed)
      .function("panels", &Calculator::panels)
      .function("checkJson", &Calculator::checkJson)
      .function("checkText", &Calculator::checkText)
      .function("newProject", &Calculator::newProject)
      .function("open", &Calculator::open)
      .function("save", &Calculator::save)
      .function("profiles", &Calculator::profiles)
      .function("batch", &Calculator::batch)
      .function("sheetHtml", &Calculator::sheetHtml)
      // the page's additions
      .function("texts", &Calculator::texts)
      .function("setText", &Calculator::setText)
      .function("lists", &Calculator::lists);
}
