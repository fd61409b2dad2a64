// Runs a fuzz target once over each seed file: every file named on the command line, and
// every regular file inside each folder named there. Used by the ordinary builds, where
// libFuzzer is not linked, so that CI replays the seeds and every crash found so far.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  int count = 0;
  const auto run = [&count](const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ++count;
  };
  LLVMFuzzerTestOneInput(nullptr, 0);  // the empty input is always a seed
  for (int i = 1; i < argc; ++i) {
    if (fs::is_regular_file(argv[i])) {
      run(argv[i]);
    } else if (fs::is_directory(argv[i])) {
      for (const auto& e : fs::recursive_directory_iterator(argv[i]))
        if (e.is_regular_file()) run(e.path());
    } else {
      std::fprintf(stderr, "no such seed: %s\n", argv[i]);
      return 1;
    }
  }
  std::printf("replayed %d seeds\n", count);
}
