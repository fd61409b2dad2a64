// Runs a fuzz target once over each seed file: every file named on the command line, and
// every regular file inside each folder named there. Used by the ordinary builds, where
// libFuzzer is not linked, so that CI replays the seeds and every crash found so far.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

static void RunOne(const fs::path& file, int& count) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  ++count;
}

int main(int argc, char** argv) {
  int count = 0;
  LLVMFuzzerTestOneInput(nullptr, 0);  // the empty input is always a seed
  for (int i = 1; i < argc; ++i) {
    const fs::path p(argv[i]);
    if (fs::is_directory(p)) {
      for (const auto& e : fs::recursive_directory_iterator(p))
        if (e.is_regular_file()) RunOne(e.path(), count);
    } else if (fs::is_regular_file(p)) {
      RunOne(p, count);
    } else {
      std::fprintf(stderr, "no such seed: %s\n", argv[i]);
      return 1;
    }
  }
  std::printf("replayed %d seeds\n", count);
  return 0;
}
