// Benchmarks of the Windows build, run on demand under Wine (bench/run.sh): each figure is
// measured against a bare baseline in the same run, over several runs taken in alternating
// pairs, and printed as median and spread (interquartile range and min-max) with the ratio of
// the medians. Wall times follow the load of the machine; each comes with the CPU time of the
// process measured, which follows it much less.
//   posting  - a 15-line picture of 3,000 characters (mode 1, Wait 0) to a receiver that only
//              counts (bench_counting_chat): from the press of 送信 until the receiver has the
//              tool's last post, against a bare loop making the same posts to the same receiver;
//   chat     - the same posts from the bare loop to the practice chat's Messenger window (with
//              its log) until its transcript shows the whole picture, against the counting
//              receiver: whether the practice chat keeps up, and its CPU time per message;
//   poll     - CPU time of the tool over a span with the practice chat in front, against a
//              program whose 100 ms timer makes exactly the calls of one poll tick;
//   start-up - process start to main window visible, against a bare one-window program and
//              against a plain program with a window like the tool's (its own cost);
//   keys     - 4 lines of 50 characters typed into Wine's Notepad by keystrokes (Wait 0, 文字の
//              間隔 0): from the press of 送信 until Notepad holds the whole text, against a bare
//              loop that types the same keys with the same round trips to Notepad's thread;
//   paste    - 20 lines of 50 characters pasted into Wine's Notepad a line at a time (Wait 0):
//              from the press of 送信 until Notepad holds the whole text, against a bare loop that
//              offers each line with delayed rendering, presses Ctrl+V, waits for Notepad's
//              request and presses Enter; beside it, the same text typed by keystrokes;
//   size     - the size of kakehashi.exe.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "text/text_shaping.h"
#include "forms/control_ids.h"
#include "post_counter.h"
#include "process_cpu.h"
#include "practice_chat_ids.h"
#include "support/standin_log.h"
#include "targets/keystroke_target.h"
#include "ui_driver/ui_driver.h"

namespace {

namespace ui = kakehashi::ui;
using kakehashi::bench::CpuMs;
using kakehashi::bench::FindUnixProcess;
using kakehashi::bench::NextPostHash;
using kakehashi::bench::PostCounter;
using kakehashi::bench::Summarize;
using kakehashi::bench::Summary;

constexpr int kPictureLines = 15;
constexpr int kPictureWidth = 200;
constexpr int kCountingButtonId = kakehashi::bench::kCountingChatButtonId;

struct Settings {
  int keys_runs = 6;
  int posting_runs = 15;
  int start_up_pairs = 24;  // rounds of the three programs
  int poll_span_ms = 30000;
  int paste_runs = 8;
  int paste_typed_runs = 2;  // the same text typed, about 7 s a run
};

double TicksToMs(std::int64_t ticks) {
  static const double ms_per_tick = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 / static_cast<double>(frequency.QuadPart);
  }();
  return static_cast<double>(ticks) * ms_per_tick;
}

double NowMs() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return TicksToMs(counter.QuadPart);
}

void Pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

std::wstring Sibling(const wchar_t* relative) {
  std::wstring exe = ui::KakehashiExePath();  // <build>\src\app\kakehashi.exe
  for (int i = 0; i < 3; ++i) exe.erase(exe.find_last_of(L'\\'));
  return exe + relative;
}

HWND Control(HWND main, kakehashi::ControlId id) { return ui::FindControl(main, kakehashi::IdNumber(id)); }

std::string Spread(const Summary& s, const char* unit) {
  char text[160];
  std::snprintf(text, sizeof text, "%9.3f %-6s (IQR %.3f-%.3f, min-max %.3f-%.3f, n=%zu)", s.median, unit, s.q1, s.q3,
                s.min, s.max, s.count);
  return text;
}

// One figure of the tool and of its baseline, one value per run, the runs taken in pairs.
struct Paired {
  std::vector<double> tool, bare;
};

void Report(const char* what, const char* tool_name, const char* bare_name, const Paired& runs, const char* unit,
            double goal) {
  const Summary v = Summarize(runs.tool), b = Summarize(runs.bare);
  const Summary paired = Summarize(kakehashi::bench::PairRatios(runs.tool, runs.bare));
  std::printf("%-9s %-9s %s\n", what, tool_name, Spread(v, unit).c_str());
  std::printf("%-9s %-9s %s\n", "", bare_name, Spread(b, unit).c_str());
  std::printf("%-9s ratio of medians %.2fx; paired runs %.2fx (IQR %.2f-%.2fx)", "",
              b.median > 0 ? v.median / b.median : 0, paired.median, paired.q1, paired.q3);
  if (goal > 0) std::printf(" goal <= %.1fx", goal);
  std::printf("\n");
}

// --- the picture and its posts ---

// 15 lines of 200 characters: kana, kanji, full- and half-width letters and symbols, none of
// them blank, so no line ends in blanks.
std::u16string PictureLine(int line) {
  static constexpr char16_t kInk[] = u"■□●○◆◇★☆あいうアイウ漢字ＡＢｱｲab/\\|_-";
  constexpr int kInkSize = static_cast<int>(sizeof kInk / sizeof kInk[0]) - 1;
  std::u16string text;
  for (int i = 0; i < kPictureWidth; ++i) text += kInk[(line * 7 + i * (line % 3 + 1)) % kInkSize];
  return text;
}

std::wstring PictureText() {
  std::wstring text;
  for (int line = 0; line < kPictureLines; ++line) {
    if (line) text += L"\r\n";
    const std::u16string l = PictureLine(line);
    text.append(l.begin(), l.end());
  }
  return text;
}

struct Post {
  UINT message;
  WPARAM wparam;
};

// What the tool posts for the picture in mode 1 without header or footer, to a window whose
// send button has `button_id`: the codes of each line as the tool reads and shapes it (one
// space stays behind a line with double-byte characters), then the press.
std::vector<Post> PicturePosts(int button_id) {
  std::vector<Post> posts;
  for (int line = 0; line < kPictureLines; ++line) {
    for (std::int32_t code : kakehashi::LineCodes(kakehashi::SendMode::kLines, kakehashi::LineAsRead(PictureLine(line)), false,
                                                        false, u"")) {
      posts.push_back({WM_IME_CHAR, static_cast<WPARAM>(static_cast<std::intptr_t>(code))});
    }
    posts.push_back({WM_COMMAND, static_cast<WPARAM>(button_id)});
  }
  return posts;
}

// The practice chat's transcript after the picture was sent: one line per press.
std::wstring PictureTranscript(const std::vector<Post>& posts) {
  std::wstring transcript, line;
  for (const Post& p : posts) {
    if (p.message == WM_COMMAND) {
      if (!transcript.empty()) transcript += L"\r\n";
      transcript.append(practice_chat::kOwnLinePrefix.begin(), practice_chat::kOwnLinePrefix.end());
      transcript += line;
      line.clear();
      continue;
    }
    const unsigned code = static_cast<unsigned>(p.wparam & 0xFFFFu);
    char bytes[2];
    int n = 0;
    if (code > 0xFFu) bytes[n++] = static_cast<char>(code >> 8);
    bytes[n++] = static_cast<char>(code & 0xFFu);
    wchar_t wide[2] = {};
    line.append(wide, static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, bytes, n, wide, 2)));
  }
  return transcript;
}

// The bare loop: the posts made straight, as fast as PostMessageA takes them.
void PostAll(HWND to, const std::vector<Post>& posts) {
  for (const Post& p : posts) PostMessageA(to, p.message, p.wparam, 0);
}

// --- the counting receiver ---

class CountingChat {
 public:
  CountingChat() {
    const std::wstring name = L"KakehashiBenchCounter" + std::to_wstring(GetCurrentProcessId());
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(PostCounter), name.c_str());
    if (!mapping_) return;
    void* view = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(PostCounter));
    if (!view) return;
    counter_ = new (view) PostCounter;
    process_ = std::make_unique<ui::Process>(exe(), name);
    window_ = process_->WaitForWindowOfClass(kakehashi::bench::kCountingChatClassW);
  }
  ~CountingChat() {
    process_.reset();
    if (counter_) UnmapViewOfFile(counter_);
    if (mapping_) CloseHandle(mapping_);
  }
  CountingChat(const CountingChat&) = delete;
  CountingChat& operator=(const CountingChat&) = delete;

  HWND window() const { return window_; }
  static std::wstring exe() { return Sibling(L"\\bench\\bench_counting_chat.exe"); }

  struct Mark {
    std::uint64_t posts, hash;
  };
  Mark Now() const {
    const std::uint64_t posts = counter_->posts.load(std::memory_order_acquire);
    return {posts, counter_->hash.load(std::memory_order_relaxed)};
  }

  // Waits until `posts` more than at `from` have arrived; the time of the last one in ms of the
  // performance counter, or a negative number when they did not all come or differ from `posts`.
  double WaitForPosts(const Mark& from, const std::vector<Post>& posts, int timeout_ms = 60000) const {
    const std::uint64_t want = from.posts + posts.size();
    const double give_up = NowMs() + timeout_ms;
    while (counter_->posts.load(std::memory_order_acquire) < want) {
      if (NowMs() > give_up) return -1;
      Pause(1);
    }
    const std::int64_t last = counter_->last_tick.load(std::memory_order_relaxed);
    std::uint64_t hash = from.hash;
    for (const Post& p : posts) hash = NextPostHash(hash, p.message, static_cast<std::uint32_t>(p.wparam & 0xFFFFFFFFu));
    const Mark end = Now();
    if (end.posts != want || end.hash != hash) return -2;
    return TicksToMs(last);
  }

 private:
  HANDLE mapping_ = nullptr;
  PostCounter* counter_ = nullptr;
  std::unique_ptr<ui::Process> process_;
  HWND window_ = nullptr;
};

// --- posting ---

struct Tool {
  // `keystrokes`: the window in front gets the text, chosen in the 送信先 window as a user
  // does, in the way `way` (typed or pasted).
  explicit Tool(HWND target, bool keystrokes = false, kakehashi::ControlId way = kakehashi::ControlId::TargetTypeOpt) {
    main = process.WaitForWindow(kakehashi::kForm1Caption);
    if (!main) return;
    if (keystrokes) {
      ui::PostMenuCommand(main, kakehashi::IdNumber(kakehashi::ControlId::TargetMenu));
      const HWND settings = process.WaitForWindow(L"送信先の設定");
      if (!settings) return;
      ui::Click(Control(settings, kakehashi::ControlId::TargetKeysOpt));
      ui::Click(Control(settings, way));
      ui::Close(settings);
      if (!ui::WaitForGone(settings)) return;
    }
    status = Control(main, kakehashi::ControlId::Status);
    message = Control(main, kakehashi::ControlId::Message);
    send = Control(main, kakehashi::ControlId::Send);
    ui::BringToFront(target);
    wchar_t title[256] = {};
    GetWindowTextW(target, title, 256);
    targeted = ui::WaitUntil([&] { return ui::Text(status) == title; });
    ui::BringToFront(main);
    ui::Click(Control(main, kakehashi::ControlId::AAOpt));
    ui::SetText(Control(main, kakehashi::ControlId::Wait), L"0");
    pid = FindUnixProcess(ui::KakehashiExePath());
  }

  // Presses 送信; the time of the press. The press is sent with a timeout: the tool may
  // handle the whole send inside it.
  double PressSend() {
    const double pressed = NowMs();
    DWORD_PTR result = 0;
    SendMessageTimeoutW(send, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
    return pressed;
  }

  // The tool empties the message box when a send went through.
  bool Succeeded() { return ui::WaitUntil([&] { return ui::Text(message).empty(); }); }

  ui::Process process{ui::KakehashiExePath()};
  HWND main = nullptr, status = nullptr, message = nullptr, send = nullptr;
  bool targeted = false;
  std::wstring pid;
};

std::wstring OwnExePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

struct PostingFigures {
  Paired wall_ms;  // press of 送信 (baseline: first post) until the receiver has the last post
  Paired cpu_us;   // CPU time of the sending process per post
  std::vector<double> receiver_lag_ms;  // bare loop's last post made until it is received
};

bool MeasurePosting(const Settings& settings, PostingFigures* f) {
  CountingChat receiver;
  if (!receiver.window()) return false;
  Tool tool(receiver.window());
  if (!tool.main || !tool.targeted) return false;
  const std::wstring own_pid = FindUnixProcess(OwnExePath());
  const std::wstring text = PictureText();
  const std::vector<Post> posts = PicturePosts(kCountingButtonId);
  const double per_post = 1000.0 / static_cast<double>(posts.size());

  auto tool_run = [&] {
    ui::SetText(tool.message, text);
    const CountingChat::Mark from = receiver.Now();
    const double cpu = CpuMs(tool.pid);
    const double pressed = tool.PressSend();
    const double last = receiver.WaitForPosts(from, posts);
    const double used = CpuMs(tool.pid) - cpu;
    if (last < 0 || !tool.Succeeded()) return false;
    f->wall_ms.tool.push_back(last - pressed);
    f->cpu_us.tool.push_back(used * per_post);
    return true;
  };
  auto bare_run = [&] {
    const CountingChat::Mark from = receiver.Now();
    const double cpu = CpuMs(own_pid);
    const double start = NowMs();
    PostAll(receiver.window(), posts);
    const double posted = NowMs();
    const double used = CpuMs(own_pid) - cpu;
    const double last = receiver.WaitForPosts(from, posts);
    if (last < 0) return false;
    f->receiver_lag_ms.push_back(last - posted);
    f->wall_ms.bare.push_back(last - start);
    f->cpu_us.bare.push_back(used * per_post);
    return true;
  };
  // One warm-up send, then pairs in alternating order so that both see the same conditions.
  if (!tool_run()) return false;
  *f = {};
  for (int run = 0; run < settings.posting_runs; ++run) {
    Pause(200);
    if (!(run % 2 ? bare_run() && (Pause(200), tool_run()) : tool_run() && (Pause(200), bare_run()))) return false;
  }
  return true;
}

// --- keys ---

// Lines of 50 characters as a chat line is typed: kana, kanji, letters and digits.
std::vector<std::u16string> KeysLines(int count = 4) {
  std::vector<std::u16string> lines;
  for (int i = 0; i < count; ++i) {
    lines.push_back(u"line" + std::u16string(1, static_cast<char16_t>(u'A' + i)) +
                    u" いろはにほへと漢字 abcdefghijklmnopqrstuvwxyz 0123456");
  }
  return lines;
}

void KeyPackets(std::vector<INPUT>& inputs, WORD vk, WORD scan, DWORD flags) {
  for (const DWORD up : {0ul, static_cast<unsigned long>(KEYEVENTF_KEYUP)}) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags | up;
    inputs.push_back(in);
  }
}

void RoundTrips(HWND window, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
  }
}

// The bare loop: the same keys as the tool types, each followed by the tool's round trips.
void TypeLines(HWND window, const std::vector<std::u16string>& lines) {
  const auto scan = static_cast<WORD>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC));
  for (const std::u16string& line : lines) {
    for (const char16_t unit : line) {
      std::vector<INPUT> inputs;
      KeyPackets(inputs, 0, unit, KEYEVENTF_UNICODE);
      SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
      RoundTrips(window, kakehashi::kTripsPerUnit);
    }
    std::vector<INPUT> enter;
    KeyPackets(enter, VK_RETURN, scan, 0);
    SendInput(static_cast<UINT>(enter.size()), enter.data(), sizeof(INPUT));
    RoundTrips(window, kakehashi::kTripsAfterEnter);
  }
}

struct KeysFigures {
  Paired wall_ms;  // press of 送信 (bare loop: first key) until Notepad holds the whole text
  std::size_t characters = 0;
};

// Wine's Notepad, started for a measurement and closed after it.
struct Notepad {
  Notepad() {
    window = process.WaitForWindowOfClass(L"Notepad");
    edit = window ? ui::FindControlByClass(window, L"Edit") : nullptr;
  }
  ui::Process process{L"C:\\windows\\system32\\notepad.exe"};
  HWND window = nullptr, edit = nullptr;
};

// The text of `lines` as the message box holds it, and as Notepad holds it once each line
// has been said.
struct LinesText {
  explicit LinesText(const std::vector<std::u16string>& lines) {
    for (const std::u16string& line : lines) {
      if (!text.empty()) text += L"\r\n";
      text.append(line.begin(), line.end());
      said.append(line.begin(), line.end());
      said += L"\r\n";
      characters += line.size();
    }
  }
  std::wstring text, said;
  std::size_t characters = 0;
};

// Waits until `edit` holds `said`; the time then, or a negative number when it does not.
double WaitForText(HWND edit, const std::wstring& said, double start) {
  while (SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0) < static_cast<LRESULT>(said.size())) {
    if (NowMs() - start > 60000) return -1.0;
    Pause(2);
  }
  const double done = NowMs();
  return ui::Text(edit) == said ? done : -1.0;
}

// One send of `text` by the tool into Notepad: from the press of 送信 until Notepad holds the
// whole text, in ms; negative when the send did not go through.
double ToolSendsInto(Tool& tool, const Notepad& notepad, const LinesText& text, const char* what) {
  ui::SetText(notepad.edit, L"");
  ui::BringToFront(tool.main);
  ui::SetText(tool.message, text.text);
  const double pressed = tool.PressSend();
  const double done = WaitForText(notepad.edit, text.said, pressed);
  if (done < 0 || !tool.Succeeded()) {
    std::fprintf(stderr, "%s: the tool's send ended with \"%ls\"\n", what, ui::Text(tool.status).c_str());
    return -1;
  }
  return ui::WaitUntil([&] { return GetForegroundWindow() == tool.main; }) ? done - pressed : -1;
}

bool MeasureKeys(const Settings& settings, KeysFigures* f) {
  Notepad notepad;
  if (!notepad.edit) return false;
  Tool tool(notepad.window, true);
  if (!tool.main || !tool.targeted) {
    std::fprintf(stderr, "keys: the tool did not take Notepad as its target\n");
    return false;
  }
  const std::vector<std::u16string> lines = KeysLines();
  const LinesText text(lines);
  f->characters = text.characters;
  auto tool_run = [&] {
    const double ms = ToolSendsInto(tool, notepad, text, "keys");
    if (ms >= 0) f->wall_ms.tool.push_back(ms);
    return ms >= 0;
  };
  auto bare_run = [&] {
    ui::SetText(notepad.edit, L"");
    if (!ui::BringToFront(notepad.window)) return false;
    const double start = NowMs();
    TypeLines(notepad.window, lines);
    const double done = WaitForText(notepad.edit, text.said, start);
    if (done < 0) return false;
    f->wall_ms.bare.push_back(done - start);
    return true;
  };
  if (!tool_run()) return false;
  *f = {{}, f->characters};
  for (int run = 0; run < settings.keys_runs; ++run) {
    Pause(200);
    if (!(run % 2 ? bare_run() && (Pause(200), tool_run()) : tool_run() && (Pause(200), bare_run()))) return false;
  }
  return true;
}

// --- paste ---

// The bare loop's clipboard owner: a message-only window of this thread that renders the
// line on offer for whoever asks.
class BareClipboardOwner {
 public:
  BareClipboardOwner() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = L"KakehashiBenchClipboardOwner";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    self_ = this;
  }
  ~BareClipboardOwner() { DestroyWindow(window_); }
  BareClipboardOwner(const BareClipboardOwner&) = delete;
  BareClipboardOwner& operator=(const BareClipboardOwner&) = delete;

  HWND window() const { return window_; }

  // Offers `line` with delayed rendering, presses Ctrl+V and waits until the line has been
  // rendered; false after 5 s without it.
  bool Paste(const std::u16string& line) {
    while (!OpenClipboard(window_)) Pause(1);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
    line_ = &line;
    rendered_ = false;
    const auto key = [](WORD vk, DWORD up) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wVk = vk;
      in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
      in.ki.dwFlags = up;
      return in;
    };
    INPUT keys[] = {key(VK_CONTROL, 0), key('V', 0), key('V', KEYEVENTF_KEYUP), key(VK_CONTROL, KEYEVENTF_KEYUP)};
    SendInput(4, keys, sizeof(INPUT));
    const double give_up = NowMs() + 5000;
    while (!rendered_ && NowMs() < give_up) {
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      if (!rendered_) MsgWaitForMultipleObjectsEx(0, nullptr, 50, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    }
    return rendered_;
  }

 private:
  static inline BareClipboardOwner* self_ = nullptr;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_RENDERFORMAT && wp == CF_UNICODETEXT && self_ && self_->line_) {
      const std::u16string& line = *self_->line_;
      const std::size_t size = (line.size() + 1) * sizeof(char16_t);
      HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
      std::memcpy(GlobalLock(memory), line.c_str(), size);
      GlobalUnlock(memory);
      if (SetClipboardData(CF_UNICODETEXT, memory)) {
        self_->rendered_ = true;
      } else {
        GlobalFree(memory);
      }
      return 0;
    }
    return DefWindowProcW(hwnd, message, wp, lp);
  }

  HWND window_ = nullptr;
  const std::u16string* line_ = nullptr;
  bool rendered_ = false;
};

struct PasteFigures {
  Paired wall_ms;                 // press of 送信 (bare loop: first offer) until Notepad holds the text
  std::vector<double> typed_ms;   // the same text typed by the tool
  std::size_t lines = 0, characters = 0;
};

bool MeasurePaste(const Settings& settings, PasteFigures* f) {
  Notepad notepad;
  if (!notepad.edit) return false;
  const std::vector<std::u16string> lines = KeysLines(20);
  const LinesText text(lines);
  f->lines = lines.size();
  f->characters = text.characters;
  {
    Tool tool(notepad.window, true, kakehashi::ControlId::TargetPasteOpt);
    if (!tool.main || !tool.targeted) {
      std::fprintf(stderr, "paste: the tool did not take Notepad as its target\n");
      return false;
    }
    BareClipboardOwner owner;
    auto tool_run = [&] {
      const double ms = ToolSendsInto(tool, notepad, text, "paste");
      if (ms >= 0) f->wall_ms.tool.push_back(ms);
      return ms >= 0;
    };
    auto bare_run = [&] {
      ui::SetText(notepad.edit, L"");
      if (!ui::BringToFront(notepad.window)) return false;
      const double start = NowMs();
      for (const std::u16string& line : lines) {
        if (!owner.Paste(line)) return false;
        std::vector<INPUT> enter;
        KeyPackets(enter, VK_RETURN, static_cast<WORD>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)), 0);
        SendInput(static_cast<UINT>(enter.size()), enter.data(), sizeof(INPUT));
      }
      const double done = WaitForText(notepad.edit, text.said, start);
      if (done < 0) return false;
      f->wall_ms.bare.push_back(done - start);
      return true;
    };
    if (!tool_run()) return false;
    f->wall_ms = {};
    for (int run = 0; run < settings.paste_runs; ++run) {
      Pause(200);
      if (!(run % 2 ? bare_run() && (Pause(200), tool_run()) : tool_run() && (Pause(200), bare_run()))) return false;
    }
  }
  Tool typing(notepad.window, true, kakehashi::ControlId::TargetTypeOpt);
  if (!typing.main || !typing.targeted) return false;
  for (int run = 0; run < settings.paste_typed_runs; ++run) {
    Pause(200);
    const double ms = ToolSendsInto(typing, notepad, text, "paste (typed)");
    if (ms < 0) return false;
    f->typed_ms.push_back(ms);
  }
  return true;
}

// --- practice chat ---

// "tool" is the practice chat here, "bare" the counting receiver.
struct ChatFigures {
  Paired wall_ms;              // first post until the whole picture is in
  Paired cpu_us;               // CPU time of the receiver per post
  std::vector<double> lag_ms;  // last post made until the transcript is complete
};

bool MeasurePracticeChat(const Settings& settings, ChatFigures* figures) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring wlog = std::wstring(temp) + L"kakehashi-bench-chat.log";
  const std::wstring chat_exe = ui::WindowsPath(PRACTICE_CHAT_EXE_PATH);
  ui::Process chat(chat_exe, L"--messenger --log \"" + wlog + L"\"");
  const HWND window = chat.WaitForWindowOfClass(L"IMWindowClass");
  const HWND transcript = window ? ui::FindControlByClass(window, L"Edit", 0) : nullptr;
  CountingChat receiver;
  if (!transcript || !receiver.window()) return false;
  const std::wstring chat_pid = FindUnixProcess(chat_exe);
  const std::wstring counting_pid = FindUnixProcess(receiver.exe());
  const std::vector<Post> posts = PicturePosts(practice_chat::kMessengerSendButtonId);
  const std::vector<Post> counted = PicturePosts(kCountingButtonId);
  const std::wstring picture = PictureTranscript(posts);
  const double per_post = 1000.0 / static_cast<double>(posts.size());

  for (int run = 0; run < settings.posting_runs; ++run) {
    ui::SetText(transcript, L"");
    Pause(200);
    const auto want = static_cast<LRESULT>(picture.size());
    double cpu = CpuMs(chat_pid);
    const double start = NowMs();
    PostAll(window, posts);
    const double posted = NowMs();
    while (SendMessageW(transcript, WM_GETTEXTLENGTH, 0, 0) < want) {
      if (NowMs() - start > 60000) return false;
      Pause(1);
    }
    const double complete = NowMs();
    figures->cpu_us.tool.push_back((CpuMs(chat_pid) - cpu) * per_post);
    figures->wall_ms.tool.push_back(complete - start);
    figures->lag_ms.push_back(complete - posted);
    if (ui::Text(transcript) != picture) return false;

    Pause(200);
    const CountingChat::Mark from = receiver.Now();
    cpu = CpuMs(counting_pid);
    const double bare_start = NowMs();
    PostAll(receiver.window(), counted);
    const double last = receiver.WaitForPosts(from, counted);
    if (last < 0) return false;
    figures->cpu_us.bare.push_back((CpuMs(counting_pid) - cpu) * per_post);
    figures->wall_ms.bare.push_back(last - bare_start);
  }
  // The log holds every message of every run, in order.
  const auto log = kakehashi::testing::ReadStandinLog(std::string(wlog.begin(), wlog.end()));
  chat.Terminate();
  DeleteFileW(wlog.c_str());
  if (log.size() != posts.size() * static_cast<std::size_t>(settings.posting_runs)) return false;
  for (std::size_t i = 0; i < log.size(); ++i) {
    const Post& p = posts[i % posts.size()];
    if (log[i].message != p.message || log[i].wparam != static_cast<std::uint32_t>(p.wparam & 0xFFFFFFFFu)) return false;
  }
  return true;
}

// --- poll ---

double IdleCpuMs(const std::wstring& exe, int span_ms) {
  ui::Process program(exe);
  Pause(1500);  // let start-up settle
  const std::wstring pid = FindUnixProcess(exe);
  if (pid.empty()) return -1;
  ui::BringToFront(FindWindowW(L"IEFrame", nullptr));
  const double before = CpuMs(pid);
  Pause(span_ms);
  return CpuMs(pid) - before;
}

// --- start-up ---

struct StartUp {
  double wall_ms = -1;  // process creation until the window is visible
  double cpu_ms = -1;   // CPU time of the process by then
};

// One start. The program is then closed as a user would close it, and given time to go, so
// that runs do not overlap. The process is made here, not by ui::Process, whose
// WaitForInputIdle would add a wait of its own.
StartUp StartOnce(const std::wstring& exe, const wchar_t* caption) {
  StartUp result;
  std::wstring command = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = NowMs();
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return result;
  }
  HWND hwnd = nullptr;
  while (NowMs() - start < 20000) {
    hwnd = FindWindowW(nullptr, caption);
    if (hwnd && IsWindowVisible(hwnd)) break;
    hwnd = nullptr;
    Sleep(1);
  }
  const double visible = NowMs() - start;
  if (hwnd) {
    result.wall_ms = visible;
    result.cpu_ms = CpuMs(FindUnixProcess(exe));
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
  } else {
    std::fprintf(stderr, "start-up: no visible window \"%ls\" after %.0f ms\n", caption, visible);
  }
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  Pause(250);
  return result;
}

struct StartUpFigures {
  Paired wall_ms, cpu_ms;  // the tool against the bare window
  std::vector<double> same_wall_ms, same_cpu_ms;  // the window like the tool's, in the same rounds
};

bool MeasureStartUp(const Settings& settings, StartUpFigures* f) {
  struct Program {
    std::wstring exe;
    const wchar_t* caption;
  };
  const Program programs[] = {{ui::KakehashiExePath(), kakehashi::kForm1Caption},
                              {Sibling(L"\\bench\\bench_bare_window.exe"), L"bench bare window"},
                              {Sibling(L"\\bench\\bench_same_ui_window.exe"), L"bench same UI window"}};
  StartUp last[3];
  auto start = [&](int which) {
    last[which] = StartOnce(programs[which].exe, programs[which].caption);
    return last[which].wall_ms >= 0;
  };
  // A first start of each fills the file cache; it is not counted.
  for (int which = 0; which < 3; ++which) {
    if (!start(which)) return false;
  }
  // Rounds of the three in turn, each round starting with the next one, so that each sees
  // the same conditions.
  for (int round = 0; round < settings.start_up_pairs; ++round) {
    for (int i = 0; i < 3; ++i) {
      if (!start((round + i) % 3)) return false;
    }
    f->wall_ms.tool.push_back(last[0].wall_ms);
    f->cpu_ms.tool.push_back(last[0].cpu_ms);
    f->wall_ms.bare.push_back(last[1].wall_ms);
    f->cpu_ms.bare.push_back(last[1].cpu_ms);
    f->same_wall_ms.push_back(last[2].wall_ms);
    f->same_cpu_ms.push_back(last[2].cpu_ms);
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // bench_driver [keys|paste|posting|chat|poll|start-up|size ...] [--quick] [--poll-span MS]; no names: all.
  Settings settings;
  std::vector<std::wstring> only;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--poll-span" && i + 1 < argc) {
      settings.poll_span_ms = _wtoi(argv[++i]);
    } else if (arg == L"--quick") {
      settings = {2, 3, 6, 5000, 2, 1};
    } else {
      only.push_back(arg);
    }
  }
  auto wanted = [&](const wchar_t* name) { return only.empty() || std::find(only.begin(), only.end(), name) != only.end(); };
  std::printf("Kakehashi benchmarks under Wine: median, IQR and min-max of several runs\n");
  std::printf("load average at the start: %s\n", kakehashi::bench::LoadAverage().c_str());
  std::fflush(stdout);

  if (wanted(L"keys")) {
    KeysFigures f;
    if (MeasureKeys(settings, &f)) {
      std::printf("keys: %zu characters in 4 lines typed into Wine's Notepad by keystrokes (Wait 0, interval 0),\n",
                  f.characters);
      std::printf("      press of 送信 (bare loop: first key) until Notepad holds the whole text; the bare loop\n");
      std::printf("      makes the same round trips to Notepad's thread (the program's own pace is the limit)\n");
      Report("keys", "Kakehashi", "bare loop", f.wall_ms, "ms", 0);
      const double tool_rate = 1000.0 * static_cast<double>(f.characters) / Summarize(f.wall_ms.tool).median;
      const double bare_rate = 1000.0 * static_cast<double>(f.characters) / Summarize(f.wall_ms.bare).median;
      std::printf("%-9s %.0f characters/s against %.0f: %.2fx (goal >= 0.8x)\n", "", tool_rate, bare_rate,
                  tool_rate / bare_rate);
    } else {
      std::printf("keys      failed: Notepad did not get exactly the text\n");
    }
    std::fflush(stdout);
  }

  if (wanted(L"paste")) {
    PasteFigures f;
    if (MeasurePaste(settings, &f)) {
      std::printf("paste: %zu lines of %zu characters pasted into Wine's Notepad a line at a time (Wait 0), press\n",
                  f.lines, f.characters / f.lines);
      std::printf("       of 送信 (bare loop: first offer) until Notepad holds the whole text; the bare loop offers\n");
      std::printf("       each line delayed, presses Ctrl+V, waits for Notepad's request and presses Enter\n");
      Report("paste", "Kakehashi", "bare loop", f.wall_ms, "ms", 1.2);
      const auto per_second = [&](double ms) { return 1000.0 * static_cast<double>(f.lines) / ms; };
      const double typed = Summarize(f.typed_ms).median;
      std::printf("%-9s %.1f lines/s against %.1f; the same text typed by keystrokes: %.0f ms, %.1f lines/s (n=%zu)\n",
                  "", per_second(Summarize(f.wall_ms.tool).median), per_second(Summarize(f.wall_ms.bare).median), typed,
                  per_second(typed), f.typed_ms.size());
    } else {
      std::printf("paste     failed: Notepad did not get exactly the text\n");
    }
    std::fflush(stdout);
  }

  const double posts = static_cast<double>(PicturePosts(kCountingButtonId).size());
  if (wanted(L"posting")) {
    PostingFigures f;
    if (MeasurePosting(settings, &f)) {
      std::printf("posting: %d lines x %d characters (%.0f posts), Wait 0, to a receiver that only counts:\n",
                  kPictureLines, kPictureWidth, posts);
      std::printf("         press of 送信 (bare loop: first post) until the last post is received\n");
      Report("posting", "Kakehashi", "bare loop", f.wall_ms, "ms", 1.2);
      Report("post CPU", "Kakehashi", "bare loop", f.cpu_us, "us/msg", 0);
      std::printf("%-9s %-9s %s\n", "", "rcv lag", Spread(Summarize(f.receiver_lag_ms), "ms").c_str());
      std::printf("%-9s (rcv lag: from the bare loop's last post until the receiver has it)\n", "");
    } else {
      std::printf("posting   failed: the counting receiver did not get exactly the expected posts\n");
    }
    std::fflush(stdout);
  }

  if (wanted(L"chat")) {
    ChatFigures f;
    if (MeasurePracticeChat(settings, &f)) {
      std::printf("chat: the same posts from a bare loop to the practice chat (Messenger window, with log) until\n");
      std::printf("      its transcript shows the whole picture, against the counting receiver\n");
      Report("chat", "practice", "counting", f.wall_ms, "ms", 0);
      std::printf("%-9s %-9s %s\n", "", "lag", Spread(Summarize(f.lag_ms), "ms").c_str());
      std::printf("%-9s (lag: from the last post made until the transcript is complete)\n", "");
      Report("chat CPU", "practice", "counting", f.cpu_us, "us/msg", 0);
    } else {
      std::printf("chat      failed: the transcript or the log of the practice chat is incomplete\n");
    }
    std::fflush(stdout);
  }

  if (wanted(L"poll")) {
    ui::Process chat(ui::WindowsPath(PRACTICE_CHAT_EXE_PATH), L"--chat");
    ui::WaitUntil([] { return FindWindowW(L"IEFrame", nullptr) != nullptr; });
    const double tool_cpu = IdleCpuMs(ui::KakehashiExePath(), settings.poll_span_ms);
    const double bare_cpu = IdleCpuMs(Sibling(L"\\bench\\bench_poll_baseline.exe"), settings.poll_span_ms);
    std::printf("poll      CPU over %d ms: Kakehashi %.1f ms, baseline %.1f ms, ratio %.2fx (goal <= 1.5x)\n",
                settings.poll_span_ms, tool_cpu, bare_cpu, bare_cpu > 0 ? tool_cpu / bare_cpu : 0);
    std::fflush(stdout);
  }

  if (wanted(L"start-up")) {
    StartUpFigures f;
    if (MeasureStartUp(settings, &f)) {
      std::printf("start-up: process start until the main window is visible, in rounds of the three programs\n");
      Report("start-up", "Kakehashi", "bare", f.wall_ms, "ms", 1.5);
      Report("start CPU", "Kakehashi", "bare", f.cpu_ms, "ms", 0);
      std::printf("          against a plain program with the same window (manifest, menu, fonts, controls):\n");
      Report("start-up", "Kakehashi", "same UI", {f.wall_ms.tool, f.same_wall_ms}, "ms", 0);
      Report("start CPU", "Kakehashi", "same UI", {f.cpu_ms.tool, f.same_cpu_ms}, "ms", 0);
    } else {
      std::printf("start-up  failed: a window did not appear\n");
    }
    std::fflush(stdout);
  }

  if (wanted(L"size")) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(ui::KakehashiExePath().c_str(), GetFileExInfoStandard, &data);
    std::printf("size      %10.1f KB  (goal <= 300 KB, one file)\n", static_cast<double>(data.nFileSizeLow) / 1024.0);
  }
  std::printf("load average at the end: %s\n", kakehashi::bench::LoadAverage().c_str());
  return 0;
}
