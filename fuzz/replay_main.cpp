// A plain driver for the fuzz targets, for builds without libFuzzer: every
// file named, and every file in every folder named, goes once through
// LLVMFuzzerTestOneInput. A finding aborts, as under libFuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (int i = 1; i < argc; ++i) {
    const fs::path path = argv[i];
    if (fs::is_directory(path)) {
      // Dot files (.gitkeep) only keep a folder in git.
      for (const auto& entry : fs::directory_iterator(path))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
          files.push_back(entry.path());
    } else if (fs::is_regular_file(path)) {
      files.push_back(path);
    } else {
      std::cerr << "no such file or folder: " << path << "\n";
      return 2;
    }
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
      std::cerr << "cannot read " << file << "\n";
      return 2;
    }
    std::cout << "Running " << file.string() << std::endl;
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::cout << files.size() << " inputs passed" << std::endl;
  return 0;
}
