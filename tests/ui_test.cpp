// The two windows' behaviour against the fake platform: start-up, the start
// command, the dialog commands and shut-down; and the display's raise watch.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <cderr.h>
#endif
#include "fake_desktop.h"
#include "settings_lines.h"
#include "ui/display_controller.h"
#include "ui/messages.h"
#include "ui/settings_controller.h"

namespace ombrelo::ui {
namespace {

using test::DialogAnswer;

constexpr const char* kIni = test::FakeDesktop::kSettingsPath;
const std::string kViewer = SettingsRecord{}.viewer_path;

DialogAnswer choose_file(std::string path) {
  return {DialogOutcome::chosen, [path](CommonDialog& d) { d.file_name = path; }};
}
DialogAnswer choose_font(std::string name, float size) {
  return {DialogOutcome::chosen, [=](CommonDialog& d) {
            d.font_name = name;
            d.font_size = size;
          }};
}
DialogAnswer choose_colour(std::int32_t c) {
  return {DialogOutcome::chosen, [c](CommonDialog& d) { d.colour = c; }};
}
const DialogAnswer kCancel{DialogOutcome::cancelled, {}};
// A dialog that could not open, leaving in the dialog object what it may.
DialogAnswer failing(std::function<void(CommonDialog&)> leaves) {
  return {DialogOutcome::cancelled, std::move(leaves), "メモリが足りません"};
}

std::string file_with(const std::string& left, const std::string& right,
                      const std::string& font_size = "9.75") {
  return test::settings_lines("C:\\talk.ppt", "D:\\PP\\POWERPNT.EXE", "Arial", font_size, "255",
                              "16777215", left, right);
}

// The two windows on a fake desktop, as the program wires them.
struct Program {
  test::Log log;
  test::FakeDisplayView display_window{log};
  test::FakeDesktop desktop{log};
  test::FakeSettingsView view;
  DisplayController display{display_window, desktop, desktop};
  SettingsController controller{view, display, desktop, desktop, desktop, desktop};
};

class Windows : public ::testing::Test, protected Program {
 protected:
  std::size_t position(const std::string& entry) const {
    return static_cast<std::size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
  }
};

TEST_F(Windows, FirstStartAsksForTheViewerAfterTheDisplayIsUp) {
  desktop.answers.push_back({DialogOutcome::chosen, [this](CommonDialog& d) {
                               // Behind the prompt the display is up, on top, at 00:00.
                               EXPECT_TRUE(display_window.exists() && display_window.shown);
                               EXPECT_GT(display_window.topmost_calls, 0);
                               EXPECT_EQ(display_window.text, "00:00");
                               d.file_name = "E:\\Office\\POWERPNT.EXE";
                             }});
  controller.open();

  ASSERT_EQ(desktop.dialogs_shown.size(), 1u);
  const CommonDialog& asked = desktop.dialogs_shown[0];
  EXPECT_EQ(asked.filter, "Powerpointアプリケーション|POWERPNT.EXE");
  EXPECT_EQ(asked.title, "Powerpointアプリケーションを指定");
  EXPECT_EQ(controller.record().viewer_path, "E:\\Office\\POWERPNT.EXE");

  EXPECT_EQ(display.bounds().top, 1650.0f) << "half the settings window lower";
  EXPECT_EQ(display_window.text, "00:00");

  EXPECT_EQ(view.caption, "ＭＳ Ｐゴシック 9.75pt");
  EXPECT_EQ(view.swatches[0], 65280);
  EXPECT_EQ(view.swatches[1], 0);
  EXPECT_EQ(view.corner(), Corner::bottom_right);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Windows, ViewerPromptOpensOnTheFirstCurrentOfficeFound) {
  controller.open();
  EXPECT_EQ(desktop.dialogs_shown.back().file_name, "")
      << "no Office anywhere: the prompt opens as it always did";
  const std::string msi = "C:\\Program Files\\Microsoft Office\\Office15\\POWERPNT.EXE";
  const std::string c2r = "C:\\Program Files (x86)\\Microsoft Office\\root\\Office16\\POWERPNT.EXE";
  Program other;  // a start where Office is installed
  other.desktop.files[msi] = other.desktop.files[c2r] = "exe";
  other.controller.open();
  const CommonDialog& asked = other.desktop.dialogs_shown.back();
  EXPECT_EQ(asked.file_name, msi) << "the first Program Files folder before the second";
  EXPECT_EQ(asked.filter, "Powerpointアプリケーション|POWERPNT.EXE");
  EXPECT_EQ(other.controller.record().viewer_path, kViewer) << "cancelled: still the default path";
}

TEST_F(Windows, ViewerPromptCancelledOrFailingKeepsTheDefaultPath) {
  desktop.answers.push_back(kCancel);
  controller.open();
  EXPECT_EQ(controller.record().viewer_path, kViewer);

  Program other;
  other.desktop.answers.push_back(failing([](CommonDialog& d) { d.file_name = "garbage"; }));
  other.controller.open();
  EXPECT_EQ(other.controller.record().viewer_path, kViewer) << "a failed dialog is no choice";
}

TEST_F(Windows, ViewerAtTheDefaultPathMeansNoPrompt) {
  desktop.files[kViewer] = "exe";
  controller.open();
  EXPECT_TRUE(desktop.dialogs_shown.empty());
  EXPECT_EQ(controller.record().viewer_path, kViewer);
}

TEST_F(Windows, SavedSettingsAreAppliedToTheDisplayAtOnce) {
  desktop.files[kIni] = file_with("#TRUE#", "#FALSE#", "36");
  controller.open();
  EXPECT_TRUE(desktop.dialogs_shown.empty()) << "no prompt when a settings file exists";
  EXPECT_EQ(view.text, "C:\\talk.ppt");
  EXPECT_EQ(controller.record().viewer_path, "D:\\PP\\POWERPNT.EXE");
  EXPECT_EQ(display_window.look, (DisplayLook{"Arial", 36.0f, 255, 16777215}));
  EXPECT_EQ(display.bounds().width, 5 * 36 * 10) << "fitted to the 36-point label";
  EXPECT_EQ(display.bounds().height, 36 * 20);
  EXPECT_EQ(view.caption, "Arial 36pt");
  EXPECT_EQ(view.swatches[0], 255);
  EXPECT_EQ(view.swatches[1], 16777215);
  EXPECT_EQ(view.corner(), Corner::bottom_left);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Windows, BothFlagsEndWithBottomRightAlone) {
  desktop.files[kIni] = file_with("#TRUE#", "#TRUE#");
  controller.open();
  EXPECT_EQ(view.corner(), Corner::bottom_right);
}

TEST_F(Windows, NeitherFlagLeavesTheLeftEdgeAloneOnStart) {
  desktop.files[kIni] = file_with("#FALSE#", "#FALSE#");
  controller.open();
  EXPECT_EQ(view.corner(), Corner::none);
  display.set_left(4321);
  controller.start_show();
  EXPECT_EQ(display.bounds().left, 4321);
  EXPECT_EQ(display.bounds().top, 12000 - display.bounds().height);
}

// Each window has a scale of its own: here the settings window 200 %, the
// display 150 %. Placed in pixels, each lands where it should.
TEST_F(Windows, DisplayIsPlacedInPixelsWhateverEachWindowsScale) {
  desktop.files[kViewer] = "exe";
  view.height = 2 * 233;
  display_window.scale = 1.5f;
  controller.open();
  EXPECT_EQ(display.bounds().top, 233) << "half the settings window lower";
  view.text = "C:\\talk.ppt";
  controller.start_show();
  EXPECT_EQ(display.bounds().width, 731) << "five characters of 9.75 pt at 150 %";
  EXPECT_EQ(display.bounds().left + display.bounds().width, 19200);
  EXPECT_EQ(display.bounds().top + display.bounds().height, 12000);
}

TEST_F(Windows, DamagedSettingsFileStartsWithDefaultsForWhatIsLostAndSaysSo) {
  desktop.files[kIni] = "\"C:\\talk.ppt\"\r\n\"D:\\PP\\POWERPNT.EXE\"\r\n\"Arial\r\nhuge\r\n";
  controller.open();
  ASSERT_EQ(desktop.messages.size(), 1u);
  const std::string& m = desktop.messages[0];
  EXPECT_NE(m.find(kIni), std::string::npos) << m;
  for (const char* line : {"3 行目", "4 行目", "5 行目", "8 行目"}) {
    EXPECT_NE(m.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(view.text, "C:\\talk.ppt");
  EXPECT_EQ(controller.record().font_name, SettingsRecord{}.font_name);
  EXPECT_EQ(view.caption, "ＭＳ Ｐゴシック 9.75pt");
  EXPECT_EQ(view.swatches[0], 65280);
  EXPECT_EQ(view.corner(), Corner::bottom_right);
  const std::string damaged = desktop.files.at(kIni);
  controller.close();
  EXPECT_EQ(desktop.files.at(std::string(kIni) + ".bak"), damaged) << "what the lines held is kept";

  // Where the folder takes no backup, only a "yes" gives the old bytes up.
  auto close_with = [&](bool yes, bool session_ends) {
    Program p;
    p.desktop.files[kIni] = damaged;
    p.desktop.backups_possible = false;
    p.desktop.answer_yes = yes;
    p.controller.open();
    EXPECT_EQ(p.desktop.messages.at(0).find(".bak"), std::string::npos) << "no backup promised";
    session_ends ? p.controller.end_session() : p.controller.close();
    // Nobody answers at the session's end; the question names the file.
    EXPECT_EQ(p.desktop.questions.size(), session_ends ? 0u : 1u);
    for (const std::string& q : p.desktop.questions) EXPECT_NE(q.find(kIni), std::string::npos);
    return p.desktop.files.at(kIni);
  };
  EXPECT_EQ(close_with(false, false), damaged);
  EXPECT_EQ(close_with(false, true), damaged);
  EXPECT_TRUE(parse_settings(close_with(true, false)).problems.empty()) << "saved in full";
}

TEST_F(Windows, UnreadableSettingsFileIsReportedAndSurvivesTheClose) {
  const std::string good = file_with("#FALSE#", "#TRUE#");
  desktop.files[kIni] = good;
  desktop.files[std::string(kIni) + ".bak"] = "someone else's";
  desktop.read_error = "別のプロセスが使用中のため、プロセスはファイルにアクセスできません。";
  desktop.answers.push_back(kCancel);
  controller.open();
  ASSERT_EQ(desktop.messages.size(), 1u);
  for (const std::string& named : {std::string(kIni), desktop.read_error}) {
    EXPECT_NE(desktop.messages[0].find(named), std::string::npos) << named;
  }
  EXPECT_EQ(desktop.dialogs_shown.size(), 1u) << "started as on a first run";

  controller.close();
  const std::string kept = std::string(kIni) + ".bak2";
  EXPECT_EQ(desktop.files.at(kept), good) << "the old file is kept under a fresh name";
  ASSERT_EQ(desktop.messages.size(), 2u);
  EXPECT_NE(desktop.messages[1].find(kept), std::string::npos) << "and the user is told which";
  EXPECT_EQ(desktop.files.at(std::string(kIni) + ".bak"), "someone else's");
}

// Closing while start-up's prompt is up waits for start-up to end, and
// then saves the whole record, never a half-built one.
TEST_F(Windows, CloseDuringStartUpWaitsForItsEnd) {
  desktop.answers.push_back({DialogOutcome::chosen, [this](CommonDialog& d) {
                               d.file_name = "E:\\POWERPNT.EXE";
                               EXPECT_FALSE(controller.can_close());
                               EXPECT_EQ(view.closes_asked, 0);
                             }});
  controller.open();
  EXPECT_FALSE(desktop.files.count(kIni)) << "nothing written while loading";
  EXPECT_TRUE(controller.close_waits());
  EXPECT_EQ(view.closes_asked, 1) << "the close comes once start-up is over";
  ASSERT_TRUE(controller.can_close());
  controller.close();
  const ParsedSettings saved = parse_settings(desktop.files.at(kIni));
  EXPECT_TRUE(saved.problems.empty());
  EXPECT_EQ(saved.record.viewer_path, "E:\\POWERPNT.EXE");
  EXPECT_EQ(saved.record.font_name, SettingsRecord{}.font_name);
}

TEST_F(Windows, EndOfSessionSavesOnceWithoutAMessage) {
  // Ending during start-up: the record is not built, the file stays.
  desktop.answers.push_back(
      {DialogOutcome::chosen, [this](CommonDialog&) { controller.end_session(); }});
  controller.open();
  EXPECT_FALSE(desktop.files.count(kIni));

  view.text = "C:\\typed.ppt";
  desktop.write_error = "ディスクがいっぱいです。";
  controller.end_session();
  EXPECT_FALSE(display_window.exists());
  EXPECT_TRUE(desktop.messages.empty()) << "nobody is there to answer a message";
  desktop.write_error.clear();
  controller.end_session();
  controller.close();
  EXPECT_EQ(std::count(log.begin(), log.end(), std::string("write ") + kIni), 1);
}

class Started : public Windows {
 protected:
  void SetUp() override {
    desktop.files[kViewer] = "exe";
    controller.open();
    view.text = "C:\\講演\\talk.ppt";
  }
};

TEST_F(Started, StartLaunchesTheShowPlacesTheDisplayAndCounts) {
  controller.start_show();
  ASSERT_EQ(desktop.started.size(), 1u);
  EXPECT_EQ(desktop.started[0], "\"" + kViewer + "\" /s \"C:\\講演\\talk.ppt\"");
  EXPECT_EQ(display.bounds().left + display.bounds().width, 19200) << "right edge on the screen's";
  EXPECT_EQ(display.bounds().top + display.bounds().height, 12000) << "bottom edge on the screen's";
  EXPECT_GT(display_window.interval, 0) << "ticking";
  EXPECT_EQ(display_window.text, "00:00");

  desktop.pass(126'000);
  display.tick();
  EXPECT_EQ(display_window.text, "02:06");

  // Ten minutes on, a second start counts from zero again, at once.
  desktop.pass(474'000);
  controller.start_show();
  EXPECT_EQ(desktop.started.size(), 2u);
  EXPECT_EQ(display_window.text, "00:00");
  desktop.pass(1'000);
  display.tick();
  EXPECT_EQ(display_window.text, "00:01");
}

// On Windows' 1/64 s clock, the first press on a step and the second
// between two, with the ticks on time and then late by up to 60 ms.
TEST_F(Started, EachSecondShowsForAboutASecondOnA64thSecondClock) {
  constexpr int kLate[] = {0, 37, 12, 60, 5, 48, 23, 0, 55, 31, 9, 42, 17};  // milliseconds
  test::SteppedClock clock(desktop, display_window);
  std::vector<std::int64_t> lasted;
  for (int press = 0; press < 2; ++press, clock.wait(7 * clock.kStep + 3000)) {
    controller.start_show();
    std::int64_t changed = clock.now();
    for (int n = 0; n < 60; ++n) {
      clock.to_next_tick(press ? kLate[n % std::size(kLate)] * 1000 : 0);
      const std::string before = display_window.text;
      display.tick();
      if (display_window.text == before) continue;
      lasted.push_back(clock.now() - changed);
      changed = clock.now();
    }
  }
  EXPECT_GE(lasted.size(), 50u);
  EXPECT_EQ(std::count_if(lasted.begin(), lasted.end(),
                          [](std::int64_t us) { return us < 750'000 || us > 1'250'000; }),
            0);
}

TEST_F(Started, BottomLeftPutsTheDisplayOnTheLeftEdge) {
  view.chosen = Corner::bottom_left;
  controller.start_show();
  EXPECT_EQ(display.bounds().left, 0);
  EXPECT_EQ(display.bounds().top + display.bounds().height, 12000);
}

TEST_F(Started, PlacementAndEachTickClaimTheTop) {
  int before = display_window.topmost_calls;
  controller.start_show();
  EXPECT_EQ(display_window.topmost_calls, before + 1) << "at once, above the show just started";
  EXPECT_LT(position("display.top"), log.size()) << "and above other copies' displays";
  before = display_window.topmost_calls;
  display.tick();
  display.tick();
  EXPECT_EQ(display_window.topmost_calls, before + 2);
  display_window.covered = true;  // watched for until two calm seconds have passed
  display.stacking_changed();
  display_window.covered = false;
  EXPECT_EQ(display_window.watch_interval, RaiseWatch::kClose);
  desktop.pass(RaiseWatch::kCalm);
  display.watch();
  EXPECT_EQ(display_window.watch_interval, 0);
}

// A projector (Win+P) changes the screen's size after the start.
TEST_F(Started, ScreenSizeChangeKeepsTheDisplayInItsCornerOnceStarted) {
  const Rect before = display_window.bounds();
  desktop.screen_w = 15360;
  display.screen_changed();
  EXPECT_EQ(display_window.bounds(), before) << "nothing moves before the first start";

  view.chosen = Corner::bottom_left;
  controller.start_show();
  view.chosen = Corner::none;  // changed after the start: the display stays where it went
  desktop.screen_w = 19200;
  desktop.screen_h = 14400;
  display.screen_changed();
  EXPECT_EQ(display.bounds().left, 0);
  EXPECT_EQ(display.bounds().top + display.bounds().height, 14400);
}

TEST_F(Started, ViewerThatWillNotStartLeavesEverythingAsItWas) {
  desktop.start_error = "指定されたファイルが見つかりません。";
  const Rect before = display_window.bounds();
  controller.start_show();
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_NE(desktop.messages[0].find(kViewer), std::string::npos);
  EXPECT_NE(desktop.messages[0].find(desktop.start_error), std::string::npos);
  EXPECT_EQ(display_window.bounds(), before);
  EXPECT_EQ(display_window.interval, 0);
}

TEST_F(Started, QuoteInAPathIsRefusedBeforeAnythingStarts) {
  view.text = "C:\\a.ppt\" /evil \"b";
  controller.start_show();
  EXPECT_TRUE(desktop.started.empty());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_NE(desktop.messages[0].find(view.text), std::string::npos);
  EXPECT_EQ(display_window.interval, 0);
}

TEST_F(Started, ChoosingAFileReplacesTheTypedPathAndCancelKeepsIt) {
  desktop.answers.push_back(choose_file("D:\\new.ppt"));
  controller.choose_presentation();
  EXPECT_EQ(view.text, "D:\\new.ppt");
  const CommonDialog& asked = desktop.dialogs_shown.back();
  EXPECT_EQ(asked.filter,
            "Powerpointファイル(*.ppt;*.pptx;*.pps;*.ppsx;*.pptm)|*.ppt;*.pptx;*.pps;*.ppsx;*.pptm|"
            "すべてのファイル(*.*)|*.*");
  EXPECT_EQ(asked.title, "プレゼンテーションのファイルを指定");

  desktop.answers.push_back(kCancel);
  controller.choose_presentation();
  EXPECT_EQ(view.text, "D:\\new.ppt");
  // A file dropped on the window fills the box; several, or a folder, do not.
  desktop.files["D:\\dropped.ppt"] = "";
  for (const auto& dropped :
       {std::vector<std::string>{"D:\\dropped.ppt", "D:\\new.ppt"}, {"D:\\"}, {"D:\\dropped.ppt"}})
    controller.take_dropped(dropped);
  EXPECT_EQ(view.text, "D:\\dropped.ppt");
  EXPECT_EQ(desktop.messages.size(), 2u);
}

TEST_F(Started, LargerFontGrowsTheDisplayAndKeepsItsTopLeft) {
  display.set_left(300);
  const float top = display.bounds().top;
  const float width = display.bounds().width;
  desktop.answers.push_back(choose_font("Arial", 36.0f));
  controller.choose_font();
  EXPECT_EQ(view.caption, "Arial 36pt");
  EXPECT_EQ(controller.record().font_size, Number::single(36.0f));
  EXPECT_GT(display.bounds().width, width);
  EXPECT_EQ(display.bounds().left, 300);
  EXPECT_EQ(display.bounds().top, top);
  EXPECT_EQ(display_window.look.font_name, "Arial");
}

TEST_F(Started, CancelledFontStillReappliesTheUnchangedFont) {
  view.caption = "stale";
  display_window.look.font_name = "stale";
  desktop.answers.push_back(kCancel);
  controller.choose_font();
  EXPECT_EQ(view.caption, "ＭＳ Ｐゴシック 9.75pt");
  EXPECT_EQ(display_window.look.font_name, SettingsRecord{}.font_name);
  EXPECT_EQ(desktop.dialogs_shown.back().font_name, SettingsRecord{}.font_name)
      << "the dialog opens on the font in use";
}

TEST_F(Started, CaptionUsesTheUsersDecimalSeparator) {
  desktop.separator = ",";
  desktop.answers.push_back(kCancel);
  controller.choose_font();
  EXPECT_EQ(view.caption, "ＭＳ Ｐゴシック 9,75pt");
}

TEST_F(Started, ColourCommandsFollowTheChoiceAndIgnoreCancelAndFailure) {
  desktop.answers.push_back(choose_colour(0x0000FF));
  controller.choose_text_colour();
  EXPECT_EQ(controller.record().text_colour, Number::integer(0x0000FF));
  EXPECT_EQ(view.swatches[0], 0x0000FF);
  EXPECT_EQ(display_window.look.text_colour, 0x0000FF);

  desktop.answers.push_back(choose_colour(0x808080));
  controller.choose_back_colour();
  EXPECT_EQ(controller.record().back_colour, 0x808080);
  EXPECT_EQ(view.swatches[1], 0x808080);
  EXPECT_EQ(display_window.look.back_colour, 0x808080);

  desktop.answers.push_back(kCancel);
  controller.choose_text_colour();
  desktop.answers.push_back(failing([](CommonDialog& d) { d.colour = 0x123456; }));
  controller.choose_back_colour();
  EXPECT_EQ(view.swatches[0], 0x0000FF);
  EXPECT_EQ(view.swatches[1], 0x808080);
  EXPECT_EQ(controller.record().back_colour, 0x808080) << "a failed dialog changes nothing";
  ASSERT_EQ(desktop.messages.size(), 1u) << "the failure is told, the cancel not";
  EXPECT_NE(desktop.messages[0].find("「色の設定」"), std::string::npos);
}

// A failure as the user reads it: the system's words and number, the file
// it names when that is not the one asked for; a dialog's own numbers.
TEST(Reasons, ReadAsTheSystemsWordsOrTheProgramsOwn) {
  EXPECT_EQ(reason_text({.words = "アクセスが拒否されました", .code = 5}),
            "アクセスが拒否されました (エラー 5)");
  EXPECT_EQ(reason_text({.code = 1234, .file = "D:\\a"}), "D:\\a: エラー 1234");
  EXPECT_EQ(reason_text({.kind = Reason::Kind::folder_in_the_way}),
            "同じ名前のフォルダーがあるため、ファイルとして保存できません");
  EXPECT_EQ(reason_text({}), "");
  EXPECT_EQ(reason_text({.kind = Reason::Kind::out_of_memory}), "メモリが足りません");
#ifdef _WIN32
  for (const auto& [code, words] : std::initializer_list<std::pair<DWORD, std::string>>{
           {CDERR_MEMALLOCFAILURE, "メモリが足りません"},
           {CDERR_MEMLOCKFAILURE, "メモリが足りません"},
           {FNERR_INVALIDFILENAME, "ファイル名が正しくありません"},
           {FNERR_BUFFERTOOSMALL, "ファイル名が長すぎます"},
           {CFERR_NOFONTS, "フォントが見つかりません"},
           {CDERR_DIALOGFAILURE, "ダイアログを用意できませんでした (エラー 65535)"}}) {
    EXPECT_EQ(
        reason_text({.kind = Reason::Kind::dialog, .code = code, .dialog = dialog_fault(code)}),
        words)
        << code;
  }
#endif
}

TEST_F(Started, DialogObjectIsSharedBetweenCommands) {
  desktop.answers.push_back(kCancel);
  controller.choose_font();
  desktop.answers.push_back({DialogOutcome::chosen, [](CommonDialog& d) {
                               d.colour = 42;
                               d.custom_colours[0] = 7;
                             }});
  controller.choose_text_colour();
  desktop.answers.push_back({DialogOutcome::chosen, {}});  // OK without a pick
  controller.choose_back_colour();
  const CommonDialog& last = desktop.dialogs_shown.back();
  EXPECT_EQ(last.font_name, SettingsRecord{}.font_name) << "left by the font command";
  EXPECT_EQ(last.custom_colours[0], 7) << "left by the previous colour dialog";
  // Each colour dialog opens on its own colour, which OK alone keeps.
  EXPECT_EQ(desktop.dialogs_shown[1].colour, 65280);
  EXPECT_EQ(last.colour, 0);
  EXPECT_EQ(controller.record().back_colour, 0);
}

TEST_F(Started, ClosingClosesTheDisplayThenSavesEverything) {
  controller.start_show();
  view.chosen = Corner::bottom_left;
  controller.close();
  EXPECT_FALSE(display_window.exists());
  EXPECT_LT(position("display.destroy"), position(std::string("write ") + kIni));
  const ParsedSettings saved = parse_settings(desktop.files.at(kIni));
  EXPECT_EQ(saved.record.presentation_path, "C:\\講演\\talk.ppt");
  EXPECT_EQ(saved.record.viewer_path, kViewer);
  EXPECT_EQ(saved.record.corner, Corner::bottom_left);
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Started, SaveFailureIsReportedAndTheProgramStillCloses) {
  desktop.write_error = "書き込みが禁止されています。";
  controller.close();
  EXPECT_FALSE(display_window.exists());
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_NE(desktop.messages[0].find(kIni), std::string::npos);
  EXPECT_NE(desktop.messages[0].find(desktop.write_error), std::string::npos);

  for (const auto& [thrown, words] :
       std::initializer_list<std::pair<std::exception_ptr, std::string>>{
           {std::make_exception_ptr(std::bad_alloc()), "メモリが足りません"},
           {std::make_exception_ptr(std::length_error("")),
            "プログラム内部の検査で誤りが見つかりました"},
           {std::make_exception_ptr(0), "予期しないエラーが起きました"}}) {
    Program failing;  // a failure inside the save is told as what it is
    failing.controller.open();
    failing.desktop.write_throws = thrown;
    failing.controller.close();
    ASSERT_EQ(failing.desktop.messages.size(), 1u) << words;
    EXPECT_TRUE(failing.desktop.messages[0].ends_with(words)) << failing.desktop.messages[0];
  }

  Program lone;  // half a surrogate pair, as Windows allows, has no form in the file
  lone.controller.open();
  lone.view.text = "C:\\a\xED\xA0\xBD";
  lone.controller.close();
  EXPECT_TRUE(parse_settings(lone.desktop.files.at(kIni)).problems.empty()) << "the old path";
  EXPECT_EQ(lone.desktop.messages.size(), 1u) << "which it says";
  Program told;  // memory runs out for that message, after the write
  told.controller.open();
  told.view.text = lone.view.text;
  told.desktop.message_throws = true;
  told.controller.close();
  EXPECT_TRUE(told.desktop.messages.empty()) << "the file is written: nothing is called lost";
}

TEST_F(Started, DisplayClosedByTheSystemComesBackInTheChosenLookOnNextUse) {
  desktop.answers.push_back(choose_colour(0x0000FF));
  controller.choose_text_colour();
  desktop.answers.push_back(choose_font("Arial", 20.0f));
  controller.choose_font();
  controller.start_show();
  display.tick();
  display_window.closed_by_system();
  display.set_look(display_window.look);
  EXPECT_FALSE(display_window.exists()) << "only open() makes the window";

  // The next command that touches the display brings it back, in the
  // chosen look and fitted to it, without ticks.
  desktop.answers.push_back(kCancel);
  controller.choose_back_colour();
  EXPECT_TRUE(display_window.exists());
  EXPECT_TRUE(display_window.shown);
  EXPECT_EQ(display_window.text, "00:00");
  EXPECT_EQ(display_window.look.text_colour, 0x0000FF);
  EXPECT_EQ(display_window.bounds().height,
            display_window.measure("00:00", display_window.look).height)
      << "20 pt";
  EXPECT_EQ(display_window.interval, 0);
  display.tick();
  EXPECT_EQ(display_window.text, "00:00") << "no count until the next start";
}

// What the watch sees at a time (a raise it answered, or a calm look), and
// how often it then looks.
struct Seen {
  std::int64_t at;
  bool raised;
  int pace;
};

TEST(RaiseWatch, LooksCloselyAfterARaiseAndLessOftenBetweenASteadyShowsBeats) {
  constexpr int close = RaiseWatch::kClose, between = RaiseWatch::kBetweenBeats;
  const Seen seen[] = {
      {1000, true, close},    {1100, false, close},   // a raise out of the blue
      {1200, true, close},    {1400, true, between},  // two beats of 200 ms: steady
      {1450, false, between}, {1519, false, between}, {1520, false, close},  // the next is near
      {1600, true, between},  {1900, true, close},  // a beat off by 100 ms is no rhythm
      {3899, false, close},   {3900, false, 0},     // two calm seconds: stop
      {9000, true, close},                          // a raise long after is no beat
  };
  RaiseWatch watch;
  for (const Seen& s : seen) {
    EXPECT_EQ(s.raised ? watch.claimed(s.at) : watch.calm(s.at), s.pace) << "at " << s.at;
  }
}

}  // namespace
}  // namespace ombrelo::ui
