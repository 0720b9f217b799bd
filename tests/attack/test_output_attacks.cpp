// Every file orvane-cli writes, against every hazard at its name: the target
// afterwards is the old file, or no file, or the whole new output; never a
// part, never something it was not. Each run is a process of its own (a
// fork running the command line), so that a kill, a full standard output
// or two writers at once are what they are in use.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <sstream>
#include <thread>

#include "cli/cli_app.hpp"
#include "files/load_table.hpp"

namespace orvane::attack {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kMaxSeconds = 60;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

// A load table of `rows` rows, the same for the same arguments.
std::string loads(int rows, double sigx) {
  std::string t = "case,sigx,sigy,tau,pd\n";
  for (int i = 1; i <= rows; ++i)
    t += "LC" + std::to_string(i) + "," + std::to_string(sigx + i % 100) + ",20," +
         std::to_string(i % 50) + ",0.1\n";
  return t;
}

struct CliOutcome {
  int code = -1;    // exit code, -1 when killed
  std::string err;  // its standard error
};

// orvane-cli ARGS in a child; standard output goes to `out` ("" : a file of
// its own, discarded). `killAfter` > 0 kills the child after that long.
// `inChild` runs in the child before the command (a limit to set).
CliOutcome runCli(const std::vector<std::string>& args, const fs::path& scratch,
                  const std::string& out = "", std::chrono::milliseconds killAfter = {},
                  const std::function<void()>& inChild = {}, int signal = SIGKILL) {
  const fs::path errFile = scratch / ("err." + std::to_string(::getpid()));
  const fs::path outFile = out.empty() ? scratch / "stdout" : fs::path(out);
  std::cout.flush();
  std::cerr.flush();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(kMaxSeconds);
    const int o = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0) ::_exit(120);
    ::dup2(o, 1);
    ::dup2(e, 2);
    if (inChild) inChild();
    std::vector<std::string> full = args;
    full.insert(full.begin() + 1, {"--data", ORVANE_SHIPPED_DATA});
    int code = 121;
    try {
      code = orvane::cli::run(full, std::cout, std::cerr);
      std::cout.flush();
    } catch (...) {
    }
    std::cerr.flush();
    ::_exit(code);
  }
  if (killAfter.count() > 0) {
    std::this_thread::sleep_for(killAfter);
    ::kill(pid, signal);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  CliOutcome r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.err = slurp(errFile);
  fs::remove(errFile);
  return r;
}

// The first line of a text.
std::string firstLine(const std::string& s) { return s.substr(0, s.find('\n')); }

// One writer of the table: the command line that writes `out`, what it
// reads, and whether a FIFO or a device at the name may take its bytes.
struct Writer {
  const char* name;
  std::function<std::vector<std::string>(const fs::path& out)> args;
  bool stream;   // a FIFO or a terminal may take the bytes
  bool reads;    // it has an input file that -o may name
  bool longRun;  // runs long enough to be killed while it writes
};

class OutputAttacks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("orvane-output-attacks-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    project_ = dir_ / "leg.cys";
    ASSERT_EQ(runCli({"new", "-o", project_.string()}, dir_).code, 0);
    small_ = dir_ / "small.csv";
    put(small_, loads(20, 100));
    big_ = dir_ / "big.csv";
    put(big_, loads(400000, 50));
    medium_ = dir_ / "medium.csv";
    put(medium_, loads(20000, 50));
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }

  // The long runs last long enough to be killed while they write; with
  // `longRuns` false they take the same roads with an output of some
  // megabytes (the 20,000-row table, 10,001 sweep points), still far beyond
  // a pipe's buffer, where only the road matters.
  static std::vector<Writer> writers(bool longRuns = true) {
    const std::string p = project_.string(), s = small_.string();
    const std::string b = (longRuns ? big_ : medium_).string();
    const std::string sweepStep = longRuns ? "t=10:30:0.0001" : "t=10:30:0.002";
    const auto o = [](const fs::path& out) { return out.string(); };
    return {
        {"new",
         [=](const fs::path& out) {
           return std::vector<std::string>{"new", "-o", o(out)};
         },
         false, false, false},
        {"sheet html",
         [=](const fs::path& out) {
           return std::vector<std::string>{"sheet", p, "-o", o(out)};
         },
         true, true, false},
        {"sheet json",
         [=](const fs::path& out) {
           return std::vector<std::string>{"sheet", p, "--json", "-o", o(out)};
         },
         true, true, false},
        {"batch csv",
         [=](const fs::path& out) {
           return std::vector<std::string>{"batch", p, b, "--jobs", "2", "-o", o(out)};
         },
         true, true, true},
        {"batch json",
         [=](const fs::path& out) {
           return std::vector<std::string>{"batch", p, b, "--json", "--jobs", "2", "-o", o(out)};
         },
         true, true, true},
        {"batch xlsx",
         [=](const fs::path& out) {
           return std::vector<std::string>{"batch", p, s, "-o", o(out) + ".xlsx"};
         },
         false, true, false},
        {"sweep csv",
         [=](const fs::path& out) {
           return std::vector<std::string>{"sweep",  p,   "--vary", sweepStep,
                                           "--jobs", "2", "-o",     o(out)};
         },
         true, true, true},
        {"optimize csv",
         [=](const fs::path& out) {
           return std::vector<std::string>{"optimize", p,       "--free", "t=16:26:1", "--free",
                                           "ring=t",   "--top", "2",      "-o",        o(out)};
         },
         true, true, false},
        {"optimize --apply",
         [=](const fs::path& out) {
           return std::vector<std::string>{"optimize", p,         "--free", "t=16:26:1", "--free",
                                           "ring=t",   "--apply", "1",      "-o",        o(out)};
         },
         false, true, false},
    };
  }

  // The target the writer's arguments name for `base` (the workbook adds .xlsx).
  static fs::path target(const Writer& w, const fs::path& base) {
    const auto args = w.args(base);
    for (size_t i = 0; i + 1 < args.size(); ++i)
      if (args[i] == "-o") return args[i + 1];
    return base;
  }

  static fs::path dir_, project_, small_, big_, medium_;
};

fs::path OutputAttacks::dir_, OutputAttacks::project_, OutputAttacks::small_, OutputAttacks::big_,
    OutputAttacks::medium_;

const std::string kOld = "the old file\n";

TEST_F(OutputAttacks, ReadOnlyTargetIsRefusedAndKept) {
  for (const Writer& w : writers()) {
    const fs::path out = target(w, dir_ / "locked");
    put(out, kOld);
    ::chmod(out.c_str(), 0444);
    const CliOutcome r = runCli(w.args(dir_ / "locked"), dir_);
    EXPECT_EQ(r.code, 2) << w.name << r.err;
    EXPECT_NE(firstLine(r.err).find(out.string() + ": the file is read-only; it was not replaced"),
              std::string::npos)
        << w.name << r.err;
    EXPECT_EQ(slurp(out), kOld) << w.name;
    struct stat st {};
    ::stat(out.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0444u) << w.name;
    fs::remove(out);
  }
}

TEST_F(OutputAttacks, LinkAtTheNameIsWrittenThrough) {
  for (const Writer& w : writers()) {
    if (w.longRun) continue;  // the same road as the short ones
    const fs::path link = target(w, dir_ / "link"), real = dir_ / "real";
    put(real, kOld);
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);
    const CliOutcome r = runCli(w.args(dir_ / "link"), dir_);
    EXPECT_LE(r.code, 1) << w.name << r.err;
    EXPECT_TRUE(fs::is_symlink(link)) << w.name;
    EXPECT_NE(slurp(real), kOld) << w.name;
    EXPECT_FALSE(slurp(real).empty()) << w.name;
    struct stat st {};
    ::stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u) << w.name;
    fs::remove(link);
    fs::remove(real);
  }
}

TEST_F(OutputAttacks, FifoIsNeverTurnedIntoAFile) {
  for (const Writer& w : writers()) {
    const fs::path fifo = target(w, dir_ / "fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const CliOutcome r = runCli(w.args(dir_ / "fifo"), dir_);
    // nobody reads it: refused either way, and it stays a FIFO
    EXPECT_EQ(r.code, 2) << w.name << r.err;
    const std::string expected = w.stream
                                     ? ": a FIFO that no program reads; nothing written"
                                     : ": not a regular file (a device, a FIFO or a socket); it "
                                       "was not replaced";
    EXPECT_NE(firstLine(r.err).find(fifo.string() + expected), std::string::npos)
        << w.name << r.err;
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << w.name;
    fs::remove(fifo);
  }
}

// A FIFO that a program reads takes a text as a stream and stays a FIFO; a
// workbook or a project file needs a regular file and is refused.
TEST_F(OutputAttacks, ReadFifoIsAStreamOrRefused) {
  for (const Writer& w : writers(false)) {
    const fs::path fifo = target(w, dir_ / "read-fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // a reader process (a thread would live on in the command's fork) and a
    // writer of our own, so that the reader waits for the command's bytes
    const int rd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    const int hold = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_TRUE(rd >= 0 && hold >= 0);
    ::fcntl(rd, F_SETFL, 0);
    const fs::path gotFile = dir_ / "got";
    const pid_t reader = ::fork();
    if (reader == 0) {
      ::close(hold);
      const int o = ::open(gotFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      char buf[65536];
      for (ssize_t n = 0; (n = ::read(rd, buf, sizeof buf)) > 0;)
        if (::write(o, buf, static_cast<size_t>(n)) != n) break;
      ::_exit(0);
    }
    ::close(rd);
    const CliOutcome r = runCli(w.args(dir_ / "read-fifo"), dir_);
    ::close(hold);
    ::waitpid(reader, nullptr, 0);
    if (w.stream) {
      EXPECT_TRUE(r.code == 0 || r.code == 1) << w.name << r.code << r.err;  // -1: killed
      EXPECT_GT(fs::file_size(gotFile), 0u) << w.name;
    } else {
      EXPECT_EQ(r.code, 2) << w.name;
      EXPECT_NE(r.err.find(fifo.string() + ": not a regular file"), std::string::npos)
          << w.name << r.err;
    }
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << w.name;
    fs::remove(fifo);
  }
}

TEST_F(OutputAttacks, OutputIsNeverAnInput) {
  for (const Writer& w : writers()) {
    if (!w.reads) continue;
    std::vector<fs::path> inputs{project_};
    const auto args = w.args(dir_ / "x");
    if (args[0] == "batch") inputs.push_back(args[2]);
    for (const fs::path& input : inputs) {
      if (w.args(dir_ / "x").back() != (dir_ / "x").string()) continue;  // the workbook's name
      // the same file by another name: a hard link
      const fs::path alias = dir_ / "alias";
      fs::create_hard_link(input, alias);
      const std::string before = slurp(input);
      for (const fs::path& out : {input, alias}) {
        const CliOutcome r = runCli(w.args(out), dir_);
        EXPECT_EQ(r.code, 2) << w.name << r.err;
        EXPECT_EQ(
            firstLine(r.err).find(": it is also the input " + input.string()) != std::string::npos,
            true)
            << w.name << r.err;
        EXPECT_EQ(slurp(input), before) << w.name;
      }
      fs::remove(alias);
    }
  }
}

TEST_F(OutputAttacks, KillDuringTheWriteLeavesTheOldFile) {
  for (const int signal : {SIGKILL, SIGTERM}) {
    for (const Writer& w : writers()) {
      if (!w.longRun) continue;
      const fs::path out = target(w, dir_ / "killed");
      put(out, kOld);
      const CliOutcome r =
          runCli(w.args(dir_ / "killed"), dir_, "", std::chrono::milliseconds(500), {}, signal);
      // killed: the old file; finished on a fast machine: a whole output
      if (r.code == -1) {
        EXPECT_EQ(slurp(out), kOld) << w.name;
      } else {
        EXPECT_NE(slurp(out), kOld) << w.name << r.err;
      }
      fs::remove(out);
      // a signal that can be caught also takes the temporary with it
      for (const auto& e : fs::directory_iterator(dir_)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(".killed", 0) == 0) {
          EXPECT_EQ(signal, SIGKILL) << w.name << ": " << name << " left";
          fs::remove(e.path());
        }
      }
    }
  }
}

// A damaged line far down the table ends the run after many rows were
// written: the old file stays, in every format.
TEST_F(OutputAttacks, DamagedLineLeavesTheOldFile) {
  std::string text = loads(9000, 20);
  text += "\"stray,1\n" + loads(1000, 30).substr(text.find('\n') + 1);
  const fs::path bad = dir_ / "damaged.csv";
  put(bad, text);
  for (const char* format : {"out.csv", "out.json", "out.xlsx"}) {
    const fs::path out = dir_ / format;
    put(out, kOld);
    std::vector<std::string> args{"batch", project_.string(), bad.string(), "-o", out.string()};
    if (out.extension() == ".json") args.push_back("--json");
    const CliOutcome r = runCli(args, dir_);
    EXPECT_EQ(r.code, 2) << format << r.err;
    EXPECT_NE(r.err.find(bad.string() + ", line 9002: a quoted cell is not closed"),
              std::string::npos)
        << format << r.err;
    EXPECT_EQ(slurp(out), kOld) << format;
    fs::remove(out);
  }
}

TEST_F(OutputAttacks, TwoWritersAtOnceLeaveOneWholeOutput) {
  const fs::path a = dir_ / "a.csv", b = dir_ / "b.csv", out = dir_ / "both.csv";
  put(a, loads(30000, 10));
  put(b, loads(30001, 90));
  const auto args = [&](const fs::path& table, const fs::path& to) {
    return std::vector<std::string>{"batch", project_.string(), table.string(), "--jobs", "1",
                                    "-o",    to.string()};
  };
  ASSERT_LE(runCli(args(a, dir_ / "ra.csv"), dir_).code, 1);
  ASSERT_LE(runCli(args(b, dir_ / "rb.csv"), dir_).code, 1);
  CliOutcome ra, rb;
  std::thread first([&] { ra = runCli(args(a, out), dir_, (dir_ / "o1").string()); });
  std::thread second([&] { rb = runCli(args(b, out), dir_, (dir_ / "o2").string()); });
  first.join();
  second.join();
  EXPECT_LE(ra.code, 1) << ra.err;
  EXPECT_LE(rb.code, 1) << rb.err;
  const std::string got = slurp(out);
  EXPECT_TRUE(got == slurp(dir_ / "ra.csv") || got == slurp(dir_ / "rb.csv"));
}

TEST_F(OutputAttacks, FailingStandardOutputIsExitTwo) {
  const std::string p = project_.string(), s = small_.string();
  const std::vector<std::vector<std::string>> commands = {
      {"check", p},
      {"check", p, "--json"},
      {"sheet", p},
      {"sheet", p, "--json"},
      {"batch", p, s},
      {"batch", p, s, "--json"},
      {"sweep", p, "--vary", "t=10:30:1"},
      {"sweep", p, "--vary", "t=10:30:1", "--json"},
      {"optimize", p, "--free", "t=14:20:1"},
      {"optimize", p, "--free", "t=14:20:1", "--json"},
  };
  for (const auto& args : commands) {
    const CliOutcome r = runCli(args, dir_, "/dev/full");
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(r.code, 2) << joined << r.err;
    // said once, as the last line (a sweep's crossings may come before it)
    const std::string said = "orvane-cli: can't write to standard output; the results are lost\n";
    EXPECT_EQ(r.err.find(said), r.err.size() - said.size()) << joined << r.err;
  }
}

// A full disk: a small tmpfs, which only the superuser may mount.
TEST_F(OutputAttacks, FullDiskLeavesTheOldFile) {
  const fs::path disk = dir_ / "disk";
  fs::create_directories(disk);
  if (::geteuid() != 0 || ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=256k") != 0)
    GTEST_SKIP() << "a full disk needs a small tmpfs, which only the superuser can mount";
  for (const Writer& w : writers()) {
    const fs::path out = target(w, disk / "full");
    put(out, kOld);
    // fill the rest of the disk
    {
      std::ofstream fill(disk / "fill", std::ios::binary);
      const std::string block(4096, 'x');
      while (fill.write(block.data(), static_cast<std::streamsize>(block.size()))) {
      }
    }
    const CliOutcome r = runCli(w.args(disk / "full"), dir_);
    EXPECT_EQ(r.code, 2) << w.name << r.err;
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << w.name << r.err;
    EXPECT_EQ(slurp(out), kOld) << w.name;
    fs::remove(disk / "fill");
    fs::remove(out);
    std::vector<fs::path> left;
    for (const auto& e : fs::directory_iterator(disk)) left.push_back(e.path());
    EXPECT_TRUE(left.empty()) << w.name << ": a temporary file was left";
  }
  ::umount(disk.c_str());
}

// A worker thread that cannot start ends the run with a message, not a hang:
// the child runs under a process limit of one. The kernel holds only an
// ordinary real user without CAP_SYS_RESOURCE/CAP_SYS_ADMIN to that limit, so
// the superuser's child becomes "nobody" by its real user id alone and drops
// those two capabilities; it keeps reading files as root (the data may sit in
// a directory only root may enter).
void underProcessLimitOfOne() {
  if (::geteuid() == 0) {
    if (::setresuid(65534, 0, 0) != 0) ::_exit(122);
    __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[2]{};
    if (::syscall(SYS_capget, &head, caps) != 0) ::_exit(123);
    for (const int cap : {CAP_SYS_RESOURCE, CAP_SYS_ADMIN}) {
      caps[cap / 32].effective &= ~(1U << (cap % 32));
      caps[cap / 32].permitted &= ~(1U << (cap % 32));
    }
    if (::syscall(SYS_capset, &head, caps) != 0) ::_exit(124);
  }
  const rlimit one{1, 1};
  ::setrlimit(RLIMIT_NPROC, &one);
}

TEST_F(OutputAttacks, ThreadThatCannotStartEndsTheRun) {
  const CliOutcome r = runCli({"batch", project_.string(), small_.string(), "--jobs", "8"}, dir_,
                              "", {}, underProcessLimitOfOne);
  EXPECT_EQ(r.code, 2) << r.err;
  EXPECT_EQ(firstLine(r.err),
            "orvane-cli: the run stopped: a thread could not start (Resource temporarily "
            "unavailable); try fewer --jobs")
      << r.err;
}

}  // namespace
}  // namespace orvane::attack
