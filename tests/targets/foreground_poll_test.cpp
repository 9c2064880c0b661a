// The foreground poll on the simulated desktop: what one tick records for each window in
// front, the class-name prefix tests, the child searches and the title in the status line.
#include "targets/foreground_poll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_main_window.h"

namespace kakehashi {
namespace {

using sim::SimDesktop;
using sim::SimMainWindow;

const std::u16string kChatTitle = u"MSNチャット - 雑談ルーム「かけはし」 - Microsoft Internet Explorer";
const std::u16string kMessengerTitle = u"たろう - 会話";
const std::u16string kEarlierStatus = u"文字を入力してください";

// Which windows of the chat structure exist.
struct ChatParts {
  bool view = true, page = true, dialog = true, input = true, edit = true, button = true;
};

struct ChatWindows {
  Handle frame, view, page, dialog, input, edit, button;
};

// The chat inside a browser window, with unrelated siblings before each searched window
// so that a search cannot succeed by taking the first child.
ChatWindows AddChat(SimDesktop& desktop, ChatParts parts, const std::u16string& title = kChatTitle) {
  ChatWindows w{};
  w.frame = desktop.AddWindow(kNoWindow, "IEFrame", ToAnsi(title));
  desktop.AddWindow(w.frame, "WorkerW");
  if (!parts.view) return w;
  w.view = desktop.AddWindow(w.frame, "Shell DocObject View");
  desktop.AddWindow(w.view, "Static");
  if (!parts.page) return w;
  w.page = desktop.AddWindow(w.view, "Internet Explorer_Server");
  desktop.AddWindow(w.page, "Static");
  if (!parts.dialog) return w;
  w.dialog = desktop.AddWindow(w.page, "#32770");
  desktop.AddWindow(w.dialog, "RichEdit20A");
  if (parts.button) w.button = desktop.AddWindow(w.dialog, "SubclassButton", "送信", 1001);
  if (!parts.input) return w;
  w.input = desktop.AddWindow(w.dialog, "ATL:3723F798");
  desktop.AddWindow(w.input, "Edit");
  if (parts.edit) w.edit = desktop.AddWindow(w.input, "MSNChatEdit4");
  return w;
}

class PollTest : public ::testing::Test {
 protected:
  // A target recorded before, so that "unchanged" can be told from "cleared".
  PollTest() : view_(desktop_) {
    view_.SetStatus(kEarlierStatus);
    earlier_writes_ = view_.status_writes();
  }

  void Tick() { PollForegroundWindow(desktop_, view_, targets_); }
  bool StatusWritten() const { return view_.status_writes() > earlier_writes_; }

  SimDesktop desktop_;
  SimMainWindow view_;
  const TargetWindows earlier_{Handle(0x777), true, Handle(0x778), Handle(0x779)};
  TargetWindows targets_ = earlier_;
  int earlier_writes_ = 0;
};

std::u16string ChatTitleAsShown(const std::u16string& title) { return FromAnsi(ToAnsi(title).substr(0, 30)); }

// Every outcome of a tick in front of a browser window, by how much of the chat exists.
TEST_F(PollTest, BrowserWindowRecordsWhatItsChatStructureHas) {
  struct Case {
    const char* name;
    ChatParts parts;
    TargetWindows (*expected)(const ChatWindows&, const TargetWindows& earlier);
  };
  const Case cases[] = {
      {"no document view", {.view = false},
       [](const ChatWindows&, const TargetWindows& e) { return TargetWindows{e.TargetEdit, false, e.TargetSendButton, e.TargetHost}; }},
      {"no page window", {.page = false},
       [](const ChatWindows&, const TargetWindows& e) { return TargetWindows{e.TargetEdit, false, e.TargetSendButton, e.TargetHost}; }},
      {"ordinary page", {.dialog = false},
       [](const ChatWindows&, const TargetWindows& e) { return TargetWindows{e.TargetEdit, false, e.TargetSendButton, kNoWindow}; }},
      {"no input frame", {.input = false},
       [](const ChatWindows& w, const TargetWindows& e) { return TargetWindows{e.TargetEdit, false, w.button, w.dialog}; }},
      {"no input frame, no button", {.input = false, .button = false},
       [](const ChatWindows& w, const TargetWindows& e) { return TargetWindows{e.TargetEdit, false, kNoWindow, w.dialog}; }},
      {"no input box", {.edit = false},
       [](const ChatWindows& w, const TargetWindows& e) { return TargetWindows{e.TargetEdit, false, w.button, w.dialog}; }},
      {"no button", {.button = false},
       [](const ChatWindows& w, const TargetWindows&) { return TargetWindows{w.edit, false, kNoWindow, w.dialog}; }},
      {"complete chat", {},
       [](const ChatWindows& w, const TargetWindows&) { return TargetWindows{w.edit, false, w.button, w.dialog}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    targets_ = earlier_;
    view_.SetStatus(kEarlierStatus);
    const ChatWindows chat = AddChat(desktop_, c.parts);
    desktop_.SetForeground(chat.frame);
    Tick();
    EXPECT_EQ(targets_, c.expected(chat, earlier_));
    EXPECT_EQ(view_.status(), ChatTitleAsShown(kChatTitle));
  }
}

TEST_F(PollTest, MessengerWindowIsBothInputAndHostWithItsFirstButton) {
  const Handle window = desktop_.AddWindow(kNoWindow, "IMWindowClass", ToAnsi(kMessengerTitle));
  desktop_.AddWindow(window, "RichEdit20W");
  const Handle button = desktop_.AddWindow(window, "Button", "送信(&S)", 1);  // class search ignores case
  desktop_.AddWindow(window, "button", "ブロック", 2);
  desktop_.SetForeground(window);
  targets_.TargetIsMessenger = false;
  Tick();
  EXPECT_EQ(targets_, (TargetWindows{window, true, button, window}));
  EXPECT_EQ(view_.status(), kMessengerTitle);
}

TEST_F(PollTest, MessengerWithoutDirectButtonChildClearsTheButton) {
  const Handle window = desktop_.AddWindow(kNoWindow, "IMWindowClass", ToAnsi(kMessengerTitle));
  const Handle pane = desktop_.AddWindow(window, "DirectUIHWND");
  desktop_.AddWindow(pane, "button", "送信", 1);  // a grandchild is never found
  desktop_.SetForeground(window);
  Tick();
  EXPECT_EQ(targets_, (TargetWindows{window, true, kNoWindow, window}));
}

TEST_F(PollTest, OtherWindowsInFrontChangeNothing) {
  const std::vector<Handle> windows = {
      kNoWindow,
      desktop_.GetDesktopWindow(),
      desktop_.AddWindow(kNoWindow, "KakehashiForm1", "かけはし"),  // the tool's own window
      desktop_.AddWindow(kNoWindow, "Notepad", "無題 - メモ帳"),
      desktop_.AddWindow(kNoWindow, "", "no class"),
  };
  for (const Handle w : windows) {
    desktop_.SetForeground(w);
    Tick();
    EXPECT_EQ(targets_, earlier_) << w.value;
    EXPECT_FALSE(StatusWritten()) << w.value;
    EXPECT_EQ(view_.status(), kEarlierStatus);
  }
}

TEST_F(PollTest, ClassNamesArePrefixTestedOrdinallyWithCase) {
  struct Case {
    std::string class_name;
    bool messenger, browser;
  };
  const Case cases[] = {
      {"IMWindowClass", true, false},   {"IMWindowClassEx", true, false}, {"imwindowclass", false, false},
      {"IMWindowClas", false, false},   {" IMWindowClass", false, false}, {"IEFrame", false, true},
      {"IEFrame2", false, true},        {"IEFrameIMWindowClass", false, true}, {"ieframe", false, false},
      {"IEFram", false, false},         {"IEFRAME", false, false},        {"XIEFrame", false, false},
      {std::string(250, 'I'), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.class_name);
    targets_ = earlier_;
    const Handle window = desktop_.AddWindow(kNoWindow, c.class_name, "題");
    desktop_.SetForeground(window);
    Tick();
    EXPECT_EQ(targets_.TargetEdit == window, c.messenger);
    EXPECT_EQ(targets_.TargetIsMessenger, c.messenger || (earlier_.TargetIsMessenger && !c.browser));
    EXPECT_EQ(targets_ == earlier_, !c.messenger && !c.browser);
  }
}

TEST_F(PollTest, ChildSearchesIgnoreCaseAndTakeTheFirstDirectChild) {
  const Handle frame = desktop_.AddWindow(kNoWindow, "IEFrame", "t");
  const Handle view = desktop_.AddWindow(frame, "SHELL DocObject view");
  const Handle page = desktop_.AddWindow(view, "internet explorer_server");
  const Handle wrapper = desktop_.AddWindow(page, "Static");
  desktop_.AddWindow(wrapper, "#32770");  // grandchild: not found, though first in the tree
  const Handle dialog = desktop_.AddWindow(page, "#32770");
  desktop_.AddWindow(page, "#32770");
  const Handle input = desktop_.AddWindow(dialog, "atl:3723f798");
  desktop_.AddWindow(dialog, "ATL:3723F798");
  const Handle button = desktop_.AddWindow(dialog, "subclassbutton");
  desktop_.AddWindow(dialog, "SubclassButton");
  const Handle edit = desktop_.AddWindow(input, "msnchatedit4");
  desktop_.AddWindow(input, "MSNChatEdit4");
  desktop_.SetForeground(frame);
  Tick();
  EXPECT_EQ(targets_, (TargetWindows{edit, false, button, dialog}));
}

TEST_F(PollTest, OrdinaryPageAfterMessengerKeepsMessengerInputButClearsHost) {
  const Handle messenger = desktop_.AddWindow(kNoWindow, "IMWindowClass", ToAnsi(kMessengerTitle));
  const Handle button = desktop_.AddWindow(messenger, "button", "送信", 1);
  desktop_.SetForeground(messenger);
  Tick();
  const ChatWindows page = AddChat(desktop_, {.dialog = false}, u"Yahoo! JAPAN - Microsoft Internet Explorer");
  desktop_.SetForeground(page.frame);
  Tick();
  EXPECT_EQ(targets_, (TargetWindows{messenger, false, button, kNoWindow}));
  EXPECT_EQ(view_.status(), u"Yahoo! JAPAN - Microsoft Inter");
}

TEST_F(PollTest, EveryTickInFrontOfAChatRewritesTheStatus) {
  const ChatWindows chat = AddChat(desktop_, {});
  desktop_.SetForeground(chat.frame);
  Tick();
  view_.SetStatus(u"4行以上は無視になります");
  Tick();
  EXPECT_EQ(view_.status(), ChatTitleAsShown(kChatTitle));
  desktop_.SetTitle(chat.frame, "");
  Tick();
  EXPECT_EQ(view_.status(), u"");
}

// Titles arrive cut by the platform in bytes; a cut inside a double-byte character shows
// whatever the code page conversion makes of the lone lead byte.
TEST_F(PollTest, TitlesAreCutAt30BytesForTheBrowserAnd199ForMessenger) {
  struct Case {
    const char* class_name;
    std::u16string title;
    std::size_t bytes_shown;
  };
  const Case cases[] = {
      {"IEFrame", kChatTitle, 30},
      {"IEFrame", u"MSNチャット - 雑談ルーム 「かけはし」", 30},  // byte 30 is a lead byte
      {"IEFrame", u"123456789012345678901234567890", 30},
      {"IEFrame", u"短い題", 6},
      {"IMWindowClass", std::u16string(100, u'会'), 199},
      {"IMWindowClass", u"a" + std::u16string(100, u'話'), 199},
      {"IMWindowClass", std::u16string(250, u'x'), 199},
      {"IMWindowClass", kMessengerTitle, ToAnsi(kMessengerTitle).size()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.class_name + std::string(" ") + ToAnsi(c.title));
    const std::string bytes = ToAnsi(c.title);
    const Handle window = desktop_.AddWindow(kNoWindow, c.class_name, bytes);
    desktop_.SetForeground(window);
    Tick();
    EXPECT_EQ(view_.status(), FromAnsi(bytes.substr(0, c.bytes_shown)));
  }
}

}  // namespace
}  // namespace kakehashi
