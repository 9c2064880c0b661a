// One random send, made from a string of bytes: random text and control states go through
// the send command on the simulated desktop, and what it posts is checked against the
// delivery rules, rebuilt here independently. Shared by the test loop and libFuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace kakehashi::fuzz {

// What the random sends covered, so that a loop can tell that its inputs reach every case.
struct CaseStats {
  std::size_t cases = 0;
  std::map<std::u16string, std::size_t> outcomes;  // by expected status; empty: sent
  std::size_t posts = 0;              // posts expected, accepted or not
  std::size_t high_lead_posts = 0;    // character posts with a lead byte E0-FC
  std::size_t surrogates = 0;         // surrogate code units in messages
  std::size_t without_code = 0;       // other characters without a code in messages
  std::size_t controls = 0;           // control characters other than CR and LF in messages
  std::size_t near_line_buffer = 0;   // sendable lines of 998-1002 bytes
  std::size_t near_longest_line = 0;  // sendable lines of 65,532-65,535 bytes
};

// Empty when the send behaved; otherwise a description of the first difference found.
std::string RunSendCase(const std::uint8_t* data, std::size_t size, CaseStats* stats = nullptr);

}  // namespace kakehashi::fuzz
