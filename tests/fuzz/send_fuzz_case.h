// One random send, made from a string of bytes: random text and control states go through
// the send command on the simulated desktop, and what it posts is checked against the
// delivery rules, rebuilt here independently. Shared by the test loop and libFuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kakehashi::fuzz {

// Empty when the send behaved; otherwise a description of the first difference found.
std::string RunSendCase(const std::uint8_t* data, std::size_t size);

}  // namespace kakehashi::fuzz
