// orvane-cli new -o FILE.cys: a new project with the --set values.
#include "cli/commands.hpp"
#include "cli/project_open.hpp"
#include "files/input_text.hpp"

namespace orvane::cli {
namespace {

class NewCommand final : public Command {
 public:
  CLI::App* add(CLI::App& app) override {
    CLI::App* cmd = app.add_subcommand("new", "write a new project with the --set values");
    cmd->add_option("-o,--output", output_, "the project file to write")
        ->type_name("FILE.cys")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
        ->required();
    return cmd;
  }

  Exit run(const Context& c) override {
    if (output_.empty()) return problem(c, prefix(), "new needs a file name after -o");
    ProjectState ps;
    RecordingEvents ev;
    Session session(ps, ev);
    const auto errors = session.startUp(c.dataDir);
    for (const auto& e : errors) problem(c, prefix(), e.text());
    if (!errors.empty()) return Exit::Usage;
    for (const std::string& s : c.sets)
      if (auto e = session.set(s)) return problem(c, prefix(), *e);
    // the strengths of the chosen material rows; a fault is written all the
    // same, `check` reports it
    session.recalculate();
    if (const Status written = session.save(output_); !written)
      return problem(c, prefix(), written.error().text());
    return Exit::Ok;
  }

 private:
  std::string output_;
};

}  // namespace

std::unique_ptr<Command> makeNewCommand() { return std::make_unique<NewCommand>(); }

}  // namespace orvane::cli
