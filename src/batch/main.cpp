#include <iostream>
#include <string>
#include <vector>

#include "batch.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return veltrano::run_batch(args, std::cout, std::cerr);
}
