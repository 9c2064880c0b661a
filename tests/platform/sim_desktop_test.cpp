// The simulated desktop answers as the real window manager and edit control do.
#include "platform/sim/sim_desktop.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "platform/code_page.h"

namespace kakehashi::sim {
namespace {

// EM_GETLINE as a caller uses it: capacity in the first word, the rest of the buffer 0x20.
struct LineRead {
  std::intptr_t count;
  std::string buffer;
};

LineRead GetLine(SimDesktop& desktop, Handle edit, std::size_t index, std::uint16_t capacity) {
  std::string buffer(static_cast<std::size_t>(capacity) + 4, ' ');
  std::memcpy(buffer.data(), &capacity, sizeof capacity);
  const std::intptr_t n = desktop.SendMessageA(edit, kEmGetLine, index, reinterpret_cast<std::intptr_t>(buffer.data()));
  return {n, buffer};
}

TEST(SimDesktop, EditControlCountsLinesAsTheRealOne) {
  SimDesktop desktop;
  struct Case {
    std::u16string text;
    std::intptr_t lines;
  };
  const Case cases[] = {
      {u"", 1}, {u"a", 1}, {u"a\r\nb", 2}, {u"a\r\nb\r\n", 3}, {u"\r\n\r\n", 3}, {u"a\nb", 1},
  };
  for (const Case& c : cases) {
    const Handle edit = desktop.AddEdit(kNoWindow, c.text);
    EXPECT_EQ(desktop.SendMessageA(edit, kEmGetLineCount, 0, 0), c.lines) << ::testing::PrintToString(c.text);
  }
}

TEST(SimDesktop, GetLineCopiesTheLinesBytesUpToTheCapacityWithoutTerminator) {
  SimDesktop desktop;
  const Handle edit = desktop.AddEdit(kNoWindow, u"あいう\r\nab\r\n");
  LineRead r = GetLine(desktop, edit, 0, 1000);
  EXPECT_EQ(r.count, 6);
  EXPECT_EQ(r.buffer.substr(0, 7), ToAnsi(u"あいう") + ' ');
  r = GetLine(desktop, edit, 1, 1000);
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(r.buffer.substr(0, 3), "ab ");
  EXPECT_EQ(GetLine(desktop, edit, 2, 1000).count, 0);
  EXPECT_EQ(GetLine(desktop, edit, 3, 1000).count, 0);  // past the last line
  EXPECT_EQ(GetLine(desktop, edit, 0, 4).count, 4);     // cut at the capacity

  // Win32: the box hands an ANSI line over with best fit, which has nothing for the
  // look-alikes of code page characters.
  const Handle pasted = desktop.AddEdit(kNoWindow, u"a\u301Cb\u2212");
  r = GetLine(desktop, pasted, 0, 1000);
  EXPECT_EQ(r.buffer.substr(0, static_cast<std::size_t>(r.count)), "a?b?");

  desktop.SetGetLineWritesTerminator(true);  // as Wine does
  r = GetLine(desktop, edit, 1, 1000);
  EXPECT_EQ(r.count, 2);
  EXPECT_EQ(r.buffer[2], '\0');
}

TEST(SimDesktop, ChildSearchIsDirectOrderedAndIgnoresCase) {
  SimDesktop desktop;
  const Handle top = desktop.AddWindow(kNoWindow, "IMWindowClass");
  const Handle other = desktop.AddWindow(top, "Static");
  const Handle first = desktop.AddWindow(top, "Button", "", 7);
  const Handle second = desktop.AddWindow(top, "button");
  const Handle grandchild = desktop.AddWindow(other, "Edit");
  EXPECT_EQ(desktop.FindWindowExA(top, kNoWindow, "button"), first);
  EXPECT_EQ(desktop.FindWindowExA(top, first, "BUTTON"), second);
  EXPECT_EQ(desktop.FindWindowExA(top, kNoWindow, "Edit"), kNoWindow);
  EXPECT_EQ(desktop.FindWindowExA(other, kNoWindow, "edit"), grandchild);
  EXPECT_EQ(desktop.GetDlgCtrlID(first), 7);
}

TEST(SimDesktop, NamesAreCutToTheCapacityLessOne) {
  SimDesktop desktop;
  const Handle w = desktop.AddWindow(kNoWindow, "IEFrame", "0123456789");
  EXPECT_EQ(desktop.GetClassNameA(w, 200), "IEFrame");
  EXPECT_EQ(desktop.GetClassNameA(w, 4), "IEF");
  EXPECT_EQ(desktop.GetWindowTextA(w, 5), "0123");
  EXPECT_EQ(desktop.GetWindowTextA(Handle(12345), 200), "");
}

TEST(SimDesktop, PostsFailWithTheReasonWindowsGives) {
  SimDesktop desktop;
  const Handle w = desktop.AddWindow(kNoWindow, "Chat");
  const Handle child = desktop.AddWindow(w, "Edit");
  const Handle elevated = desktop.AddWindow(kNoWindow, "Admin");
  desktop.SetReceiver({w, child}, 2, 0);
  desktop.DenyPosts(elevated, kErrorAccessDenied);
  EXPECT_TRUE(desktop.PostMessageA(w, kWmImeChar, 1, 0).ok());
  EXPECT_TRUE(desktop.PostMessageA(child, kWmImeChar, 2, 0).ok());
  EXPECT_EQ(desktop.PostMessageA(w, kWmImeChar, 3, 0).error, kErrorNotEnoughQuota) << "one queue for both windows";
  EXPECT_EQ(desktop.PostMessageA(elevated, kWmImeChar, 3, 0).error, kErrorAccessDenied);

  desktop.Destroy(w);
  EXPECT_EQ(desktop.PostMessageA(child, kWmImeChar, 4, 0).error, kErrorInvalidWindowHandle);
  EXPECT_EQ(desktop.PostMessageA(kNoWindow, kWmImeChar, 5, 0).error, kErrorInvalidWindowHandle);
  EXPECT_EQ(desktop.GetDlgCtrlID(child), 0);
  ASSERT_EQ(desktop.Posts().size(), 2u);
  EXPECT_EQ(desktop.Posts()[1].wparam, 2u);
}

TEST(SimDesktop, ReceiversTakeTheirQueueAtTheirRateAsTheClockAdvances) {
  SimDesktop desktop;
  const Handle w = desktop.AddWindow(kNoWindow, "Chat");
  desktop.SetReceiver({w}, 10, 0.5);
  StopRequest none;
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(desktop.PostMessageA(w, kWmImeChar, 1, 0).ok());
  EXPECT_FALSE(desktop.PostMessageA(w, kWmImeChar, 1, 0).ok());
  EXPECT_TRUE(desktop.Sleep(5, none));
  EXPECT_EQ(desktop.Queued(w), 8u) << "half a message per millisecond, whole messages only";
  EXPECT_TRUE(desktop.PostMessageA(w, kWmImeChar, 1, 0).ok());
  desktop.Sleep(100, none);
  EXPECT_EQ(desktop.Queued(w), 0u);
  desktop.Sleep(100, none);
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(desktop.PostMessageA(w, kWmImeChar, 1, 0).ok());
  EXPECT_FALSE(desktop.PostMessageA(w, kWmImeChar, 1, 0).ok());
  desktop.Sleep(2, none);
  EXPECT_EQ(desktop.Queued(w), 9u) << "an idle receiver saves nothing up for later";
}

TEST(SimDesktop, SleepsAdvanceTheClockRunActionsAndEndAtAStop) {
  SimDesktop desktop;
  const Handle w = desktop.AddWindow(kNoWindow, "Chat");
  StopRequest stop;
  std::vector<std::uint64_t> ran;
  desktop.At(700, [&] { ran.push_back(desktop.now_ms()); });
  desktop.At(1200, [&] { stop.Request(); });
  EXPECT_TRUE(desktop.Sleep(500, stop));
  desktop.PostMessageA(w, kWmCommand, 1, 0);
  EXPECT_FALSE(desktop.Sleep(5000, stop));
  EXPECT_EQ(ran, std::vector<std::uint64_t>{700});
  EXPECT_EQ(desktop.now_ms(), 1200u) << "the wait ends when the stop is requested";
  EXPECT_FALSE(desktop.Sleep(0, stop)) << "a stop stands until it is withdrawn";

  const auto& events = desktop.events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, Event::Kind::kSleep);
  EXPECT_EQ(events[0].milliseconds, 500u);
  EXPECT_FALSE(events[0].cut_short);
  EXPECT_EQ(events[1].time_ms, 500u);
  EXPECT_EQ(events[2].milliseconds, 5000u);
  EXPECT_TRUE(events[2].cut_short);
}

}  // namespace
}  // namespace kakehashi::sim
