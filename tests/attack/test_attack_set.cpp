// Every file of the attack set through the project reader and the headless
// check, each in a process of its own, so that a crash, a hang or a run that
// grows past the memory bound is seen as what it is.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <sstream>

#include "attack_set.hpp"
#include "cli/cli_app.hpp"
#include "core/calc_driver.hpp"
#include "files/project_file.hpp"
#include "sections/data_files.hpp"

namespace orvane::attack {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasureMemory = false;  // the sanitizer's shadow memory is not the program's
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMeasureMemory = false;
#else
constexpr bool kMeasureMemory = true;
#endif
#else
constexpr bool kMeasureMemory = true;
#endif

constexpr long kMaxKilobytes = 50 * 1024;
constexpr unsigned kMaxSeconds = 20;

// What one file did in its own process.
struct Outcome {
  int code = -1;               // exit code of the check, or -1 when the process did not exit
  int signal = 0;              // the signal that ended it
  long kilobytes = 0;          // its peak resident memory
  std::string err;             // what the check wrote to its error stream
  bool readAsChecked = false;  // the reader and the check agreed
};

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// In the child: the reader on a started project (a refusal must leave it as
// it was), then the headless check. Exits with the check's code, or 100 when
// the reader and the check disagree.
[[noreturn]] void child(const AttackFile& f, const fs::path& errFile) {
  alarm(kMaxSeconds);
  ProjectState ps;
  assignDefaults(ps);
  if (!loadDataFiles(ps, ORVANE_SHIPPED_DATA).empty()) _exit(101);
  const ProjectState before = ps;
  const Status read = readProject(ps, f.path);
  const bool unchanged = ps.projectName == before.projectName && ps.t == before.t &&
                         ps.cyltype == before.cyltype && ps.fileName == before.fileName;
  std::ostringstream out, err;
  const int code = cli::run({"check", f.path.string(), "--data", ORVANE_SHIPPED_DATA}, out, err);
  std::ofstream(errFile, std::ios::binary) << err.str();
  const bool agree = read ? code != 2 : code == 2 && unchanged && read.error().line == f.line;
  _exit(agree ? code : 100);
}

Outcome runAlone(const AttackFile& f, const fs::path& errFile) {
  Outcome o;
  const pid_t pid = fork();
  if (pid == 0) child(f, errFile);
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return o;
  o.kilobytes = usage.ru_maxrss;
  if (WIFEXITED(status)) o.code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) o.signal = WTERMSIG(status);
  o.err = slurp(errFile);
  return o;
}

TEST(AttackSet, EveryFileIsReadOrRefusedWithinBounds) {
  const fs::path dir = fs::temp_directory_path() / ("orvane-attack-" + std::to_string(getpid()));
  const std::vector<AttackFile> files = buildAttackSet(dir);
  ASSERT_EQ(files.size(), 252u);
  long peak = 0;
  int refused = 0;
  for (const AttackFile& f : files) {
    SCOPED_TRACE(f.path.filename().string() + ", " + std::to_string(fs::file_size(f.path)) +
                 " bytes");
    const Outcome o = runAlone(f, dir / "err.txt");
    ASSERT_EQ(o.signal, 0) << "ended by a signal (SIGALRM is a hang)";
    ASSERT_NE(o.code, 100) << "the reader and the check disagree: " << o.err;
    peak = std::max(peak, o.kilobytes);
    if (kMeasureMemory) {
      EXPECT_LT(o.kilobytes, kMaxKilobytes);
    }
    switch (f.expect) {
      case Expect::Reads:
        EXPECT_TRUE(o.code == 0 || o.code == 1 || o.code == 3) << o.code << " " << o.err;
        EXPECT_EQ(o.err, "");
        break;
      case Expect::Faults:
        EXPECT_EQ(o.code, 3) << o.err;
        break;
      case Expect::Refused: {
        ++refused;
        EXPECT_EQ(o.code, 2);
        // one line: the program, the file, the line, a field and its problem
        const std::string head =
            "orvane-cli: " + f.path.string() + ", line " + std::to_string(f.line) + ": ";
        EXPECT_TRUE(o.err.starts_with(head)) << o.err;
        EXPECT_GT(o.err.size(), head.size() + 10) << o.err;
        EXPECT_LT(o.err.size(), 400u) << o.err;
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
        EXPECT_EQ(o.err.find('\0'), std::string::npos) << o.err;
        break;
      }
    }
  }
  std::cout << "[          ] " << files.size() << " files, " << refused
            << " refused; peak resident memory of one check " << peak / 1024 << " MB\n";
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orvane::attack
