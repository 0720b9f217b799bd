#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  try {
    return orvane::cli::run(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "orvane-cli: " << e.what() << "\n";
    return 2;
  }
}
