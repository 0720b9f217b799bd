#include "cli/cli_app.hpp"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <new>
#include <system_error>

#include "cli/command.hpp"
#include "cli/rule_notes_output.hpp"
#include "files/input_text.hpp"

namespace orvane::cli {

namespace fs = std::filesystem;

namespace {

fs::path defaultDataDir() {
#ifdef _WIN32
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    if (n == 0) return fs::path("data");
    if (n < exe.size()) {
      exe.resize(n);
      return fs::path(exe).parent_path() / "data";
    }
    exe.resize(exe.size() * 2);
  }
#else
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path("data") : exe.parent_path() / "data";
#endif
}

bool stderrIsTerminal() {
#ifdef _WIN32
  return ::_isatty(_fileno(stderr)) != 0;
#else
  return ::isatty(STDERR_FILENO) == 1;
#endif
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app("Checks cylindrical steel shells for buckling after DNV-RP-C202.", "orvane-cli");
  app.set_version_flag("--version", std::string("orvane-cli ") + ORVANE_VERSION);
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 every shown usage factor within its allowable value and every\n"
      "local-buckling line OK, 1 some usage factor above it or a line NOK, 2 bad\n"
      "command line, value, file, data or output, 3 the calculation stopped on an\n"
      "arithmetic fault. Each command: orvane-cli COMMAND --help.");

  std::vector<std::string> sets;
  std::string data;
  const auto all = commands();
  std::vector<CLI::App*> subs;
  std::string names;
  for (size_t i = 0; i < all.size(); ++i) {
    CLI::App* sub = all[i]->add(app);
    sub->add_option("--set", sets, "store NAME=VALUE as the window stores a typed value")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    sub->add_option("--data", data, "folder of DNVmat.dat and the profile tables")
        ->type_name("DIR")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    addRulesOption(sub, sets);
    subs.push_back(sub);
    names += (i == 0 ? "" : i + 1 == all.size() ? " and " : ", ") + sub->get_name();
  }

  const auto known = [&](const std::string& name) {
    for (const CLI::App* sub : subs)
      if (sub->get_name() == name) return true;
    return false;
  };
  if (!args.empty() && !args[0].empty() && args[0][0] != '-' && !known(args[0])) {
    err << "orvane-cli: unknown command '" << printable(args[0]) << "'; the commands are " << names
        << "\nRun 'orvane-cli --help' for the commands and options.\n";
    return static_cast<int>(Exit::Usage);
  }
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
      app.exit(e, out, err);
      out.flush();
      return static_cast<int>(Exit::Ok);
    }
    const std::string command = args.empty() || args[0].empty() || args[0][0] == '-'
                                    ? std::string()
                                    : " " + printable(args[0]);
    err << "orvane-cli: " << printable(e.what()) << "\n"
        << "Run 'orvane-cli" << command << " --help' for its options.\n";
    return static_cast<int>(Exit::Usage);
  }

  Exit code = Exit::Usage;
  for (size_t i = 0; i < all.size(); ++i) {
    if (!subs[i]->parsed()) continue;
    const Context context{sets, data.empty() ? defaultDataDir() : fs::path(data), out, err,
                          &err == &std::cerr && stderrIsTerminal()};
    try {
      code = all[i]->run(context);
    } catch (const std::system_error& e) {
      // a worker thread that cannot start (a process limit); anything else
      // is said as it is
      if (e.code() != std::errc::resource_unavailable_try_again) {
        err << "orvane-cli: the run stopped: " << printable(e.what()) << "\n";
        return static_cast<int>(Exit::Usage);
      }
      err << "orvane-cli: the run stopped: a thread could not start (" << printable(e.what())
          << "); try fewer --jobs\n";
      return static_cast<int>(Exit::Usage);
    } catch (const std::bad_alloc&) {
      err << "orvane-cli: the run stopped: out of memory\n";
      return static_cast<int>(Exit::Usage);
    } catch (const std::exception& e) {
      err << "orvane-cli: the run stopped: " << printable(e.what()) << "\n";
      return static_cast<int>(Exit::Usage);
    }
    break;
  }
  // standard output is an output like any file
  out.flush();
  if (!out) {
    err << "orvane-cli: can't write to standard output; the results are lost\n";
    return static_cast<int>(Exit::Usage);
  }
  return static_cast<int>(code);
}

}  // namespace orvane::cli
