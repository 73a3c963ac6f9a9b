#include <iostream>

#include "winnowcommand.h"

int main(int argc, char** argv) {
  return kt::winnow::RunWinnowCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
