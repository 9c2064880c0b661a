// Pasting a line at a time into the window in front, on the simulated desktop: the order
// of the steps, who may take a line, and the user's clipboard afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "delivery/send_command.h"
#include "delivery/send_test_support.h"

namespace kakehashi::testing {
namespace {

using K = sim::Event::Kind;

const std::vector<ClipboardFormat> kUsers = {{13, std::string("u\0s\0e\0r\0", 8)}, {0xC123, "private"}};
constexpr std::uint32_t kHistory = 9;  // the process of a clipboard history

struct PasteDesk : SendDesk {
  Handle app = desktop.AddWindow(kNoWindow, "Chat", "チャット");
  TargetSettings settings;

  PasteDesk() {
    settings.kind = TargetKind::kKeystrokes;
    settings.keys_way = KeystrokeWay::kPasting;
    window.SetWait(u"0");
    window.Select(ModeOption::AAOpt);
    desktop.SetForeground(window.MainWindow());
    desktop.SetClipboard(kUsers);
  }
  SendOutcome Send() { return SendCommand(desktop, window, chat, settings, app, stop); }
  // The steps of the send as the window in front and the clipboard see them.
  std::vector<K> Steps() const {
    std::vector<K> steps;
    for (const sim::Event& e : desktop.events()) {
      if (e.kind == K::kClipboardOffer || e.kind == K::kPasteKeys || e.kind == K::kClipboardRender ||
          e.kind == K::kEnterKey || e.kind == K::kClipboardRestore) {
        steps.push_back(e.kind);
      }
    }
    return steps;
  }
};

TEST(PasteSend, EachLineIsOfferedPastedTakenByTheTargetAndSaidAndTheClipboardComesBack) {
  PasteDesk d;
  d.SetHeaderFooter(true, true, u"[");
  d.SetMessage(u"a\U0001F600\r\n\r\nb");
  // A clipboard history asks for each line first: it gets nothing, and the target still does.
  d.desktop.AddClipboardMonitor(kHistory, 0);
  d.desktop.SetPasteDelay(d.app, 12);
  ASSERT_TRUE(d.Send()) << ::testing::PrintToString(d.window.status_detail());
  EXPECT_EQ(d.desktop.TypedInto(d.app), u"[a\U0001F600[\r[[\r[b[\r") << "header and footer in the pasted line";
  const std::vector<K> line = {K::kClipboardOffer, K::kPasteKeys, K::kClipboardRender, K::kClipboardRender, K::kEnterKey};
  std::vector<K> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), line.begin(), line.end());
  expected.push_back(K::kClipboardRestore);
  EXPECT_EQ(d.Steps(), expected);
  for (const sim::Event& e : d.desktop.events()) {
    if (e.kind == K::kClipboardRender) {
      EXPECT_EQ(e.ok, e.wparam != kHistory) << "only the target's process gets a line";
    }
  }
  EXPECT_EQ(d.desktop.Clipboard(), kUsers);
  EXPECT_TRUE(d.desktop.ClipboardMarked()) << "the content put back stays out of clipboard history";
  EXPECT_EQ(d.desktop.GetForegroundWindow(), d.window.MainWindow());
  // A line empty after shaping is not pasted, only said.
  PasteDesk e;
  e.SetMessage(u"a\r\n  \r\nb");
  ASSERT_TRUE(e.Send());
  EXPECT_EQ(e.desktop.TypedInto(e.app), u"a\r \rb\r");
  PasteDesk f;
  f.SetMessage(u"a\r\n\r\nb");
  ASSERT_TRUE(f.Send());
  EXPECT_EQ(f.desktop.TypedInto(f.app), u"a\r\rb\r");
  const std::vector<K> steps = f.Steps();
  EXPECT_EQ(std::count(steps.begin(), steps.end(), K::kClipboardOffer), 2);
}

TEST(PasteSend, ALineTheTargetDoesNotTakeStopsTheSendWithTheTextKeptAndTheClipboardBack) {
  struct Case {
    const char* name;
    std::function<void(PasteDesk&)> arrange;
    std::u16string status, typed, box;
    bool users;  // the clipboard holds the user's content afterwards
  };
  const Case cases[] = {
      {"never reads", [](PasteDesk& d) { d.desktop.SetPasteDelay(d.app, std::nullopt); },
       u"貼り付けを受け取りません（0/2行済み）", u"", u"one\r\ntwo", true},
      {"reads too late", [](PasteDesk& d) { d.desktop.SetPasteDelay(d.app, 3500); },
       u"貼り付けを受け取りません（0/2行済み）", u"", u"one\r\ntwo", true},
      // The user copies something while the tool waits: that is the clipboard now.
      {"user copies meanwhile", [](PasteDesk& d) {
         d.desktop.SetPasteDelay(d.app, std::nullopt);
         d.desktop.At(1000, [&d] { d.desktop.TakeClipboard({{13, "n\0e\0w\0"}}); });
       }, u"貼り付けを受け取りません（0/2行済み）", u"", u"one\r\ntwo", false},
      {"held by another program", [](PasteDesk& d) { d.desktop.SetClipboardBusy(true); },
       u"クリップボードが使用中です", u"", u"one\r\ntwo", true},
  };
  for (const Case& c : cases) {
    PasteDesk d;
    d.SetMessage(u"one\r\ntwo");
    c.arrange(d);
    EXPECT_FALSE(d.Send()) << c.name;
    EXPECT_EQ(d.window.status(), c.status) << c.name;
    EXPECT_EQ(d.desktop.TypedInto(d.app), c.typed) << c.name << ": no Enter after a line not taken";
    EXPECT_EQ(d.window.MessageText(), c.box) << c.name;
    EXPECT_EQ(d.desktop.Clipboard() == kUsers, c.users) << c.name;
  }
}

TEST(PasteSend, AStopBetweenLinesLeavesTheRestInTheBoxAndTheClipboardBack) {
  PasteDesk d;
  d.window.SetWait(u"100");
  d.SetMessage(u"one\r\ntwo\r\nthree");
  d.desktop.At(150, [&d] { d.stop.Request(); });
  EXPECT_FALSE(d.Send());
  EXPECT_EQ(d.desktop.TypedInto(d.app), u"one\rtwo\r");
  EXPECT_EQ(d.window.MessageText(), u"three");
  EXPECT_EQ(d.desktop.Clipboard(), kUsers);
}

}  // namespace
}  // namespace kakehashi::testing
