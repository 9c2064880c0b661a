// Control, menu and timer ids of the tool's windows and the main window's caption, shared
// with tests and tools. Portable: tests find the main window by its caption and drive the
// controls by these ids (another process's menu cannot be read).
#pragma once

#include "kakehashi_version.h"

namespace kakehashi {

// The caption of the main window; the About window shows it as its title line. The version
// comes from the build, major.minor, as the window table gives it.
inline constexpr wchar_t kForm1Caption[] = L"Kakehashi 入力支援ツール　ver " KAKEHASHI_VERSION_TEXT;

enum class ControlId : int {
  kNone = 0,
  // Form1
  AAOpt = 101,
  SAKASAOpt,
  DEFAULTOpt,
  Label1,
  Wait,
  Limit,
  PlusCheck,
  Frame1,
  BeforePlusCheck,
  AfterPlusCheck,
  Label2,
  PlusWord,
  Frame4,
  Label7,
  Message,
  SendNow,
  Send,
  Status,
  Label12,
  // Form1's menu items
  Menu = 201,
  Version,
  GotoHP,
  TargetMenu,
  // frmTip
  TipPicture1 = 301,
  TipLabel1,
  TipText1,
  TipOK,
  // frmAbout
  AboutPicIcon = 401,
  AboutTitle,
  AboutLabel1,
  AboutLabel2,
  AboutOK,
  // frmTarget
  TargetKindFrame = 501,
  TargetChatOpt,
  TargetKeysOpt,
  TargetPickedOpt,
  TargetIntervalLabel,
  TargetInterval,
  TargetPickFrame,
  TargetPickHint,
  TargetInputLabel,
  TargetInputFinder,
  TargetInputDelayed,
  TargetButtonLabel,
  TargetButtonFinder,
  TargetButtonDelayed,
  TargetPressLabel,
  TargetPressEnter,
  TargetPressButton,
  TargetPressNone,
  TargetPicked,
  TargetClose,
  TargetChatHint,
  TargetKeysHint,
  TargetTypeOpt,
  TargetPasteOpt,
  TargetPickedHint,
};

constexpr int IdNumber(ControlId id) { return static_cast<int>(id); }

// The timer of Form1 (Timer1).
inline constexpr unsigned kTimer1Id = 1;
inline constexpr unsigned kTimer1IntervalMs = 100;

// The resource id of the program's icon (kakehashi.rc).
inline constexpr int kAppIconId = 1;

}  // namespace kakehashi
