// The counting receiver's tally, kept in shared memory so that the benchmark reads it without
// sending the receiver anything: how many posts arrived, when the last one did, and a hash of
// their order and content. Header only, shared by bench_counting_chat and bench_driver.
#pragma once

#include <atomic>
#include <cstdint>

namespace kakehashi::bench {

// The counting receiver's window: a Messenger-style class name and the id of its "button".
inline constexpr char kCountingChatClass[] = "IMWindowClassBenchCounter";
inline constexpr wchar_t kCountingChatClassW[] = L"IMWindowClassBenchCounter";
inline constexpr int kCountingChatButtonId = 750;

struct PostCounter {
  // Written by the receiver only, in this order: hash, last_tick, then posts (release), so that
  // a reader that sees `posts` reach a count also sees the hash and time of that post.
  std::atomic<std::uint64_t> hash{0};
  std::atomic<std::int64_t> last_tick{0};  // performance counter at the last counted post
  std::atomic<std::uint64_t> posts{0};     // WM_IME_CHAR and WM_COMMAND received
};

// The hash after one more post: order-sensitive, over the message and the low 32 bits of wParam.
constexpr std::uint64_t NextPostHash(std::uint64_t hash, std::uint32_t message, std::uint32_t wparam) {
  const std::uint64_t value = (static_cast<std::uint64_t>(message) << 32) | wparam;
  return (hash ^ value) * 0x100000001b3ull + 0x9e3779b97f4a7c15ull;
}

}  // namespace kakehashi::bench
