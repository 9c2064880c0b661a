// libFuzzer entry point for the random send check (clang only, -fsanitize=fuzzer).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/send_fuzz_case.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem = kakehashi::fuzz::RunSendCase(data, size);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
