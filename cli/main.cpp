#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"

int main(int argc, char** argv) {
#ifdef _WIN32
  // Line ends are the program's own on every system: standard input, output
  // and error take the bytes as they are (no LF -> CR LF), so that what the
  // Windows build prints is byte for byte what the Linux build prints, and
  // a load table piped in reads as the file does.
  ::_setmode(_fileno(stdin), _O_BINARY);
  ::_setmode(_fileno(stdout), _O_BINARY);
  ::_setmode(_fileno(stderr), _O_BINARY);
#endif
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return orvane::cli::run(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "orvane-cli: " << e.what() << "\n";
    return 2;
  }
}
