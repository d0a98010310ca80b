// The settings file on a real file system: reading, the one-step replace that
// never leaves a half-written file, and what counts as present.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/paths.h"
#else
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#endif

#include "platform/platform.h"
#include "settings/settings.h"
#include "ui/messages.h"

namespace ombrelo {
namespace {

namespace stdfs = std::filesystem;

// What the user would read of a result's failure; empty on success.
template <typename T>
std::string said(const Result<T>& r) {
  return ui::reason_text(r.reason());
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = stdfs::temp_directory_path() /
           ("ombrelo-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    stdfs::remove_all(dir_);
    stdfs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    stdfs::permissions(file(), stdfs::perms::owner_write, stdfs::perm_options::add, ec);
    stdfs::remove_all(dir_, ec);
  }
  std::string file() const { return (dir_ / "ombrelo.ini").string(); }
  static std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  stdfs::path dir_;
};

TEST_F(SettingsFile, WrittenRecordReadsBackTheSame) {
  SettingsRecord r;
  r.presentation_path = "C:\\発表\\講演.ppt";
  r.font_size = Number::single(36.0f);
  ASSERT_EQ(said(write_settings_file(file(), r)), "");
  EXPECT_EQ(slurp(file()), format_settings(r));
  const auto back = read_settings_file(file());
  ASSERT_TRUE(back) << said(back);
  EXPECT_TRUE(back.value().problems.empty());
  EXPECT_EQ(back.value().record.presentation_path, r.presentation_path);
  EXPECT_EQ(back.value().record.font_size, Number::integer(36));
  EXPECT_EQ(std::distance(stdfs::directory_iterator(dir_), {}), 1) << "no temporary file is left";
}

TEST_F(SettingsFile, ReplacingKeepsNothingOfTheOldContent) {
  put(file(), std::string(5000, 'x'));
  ASSERT_EQ(said(write_settings_file(file(), SettingsRecord{})), "");
  EXPECT_EQ(slurp(file()), format_settings(SettingsRecord{}));
}

TEST_F(SettingsFile, ReadOnlyFileIsLeftIntactAndTheFailureHasAReason) {
  put(file(), "old");
  stdfs::permissions(
      file(), stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
      stdfs::perm_options::remove);
  const std::string error = said(write_settings_file(file(), SettingsRecord{}));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(slurp(file()), "old");
  EXPECT_EQ(std::distance(stdfs::directory_iterator(dir_), {}), 1) << "no temporary file is left";
#ifndef _WIN32
  // A disk that takes only part of a write, beside the old file or in it:
  // the old bytes stay either way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit whole{};
  getrlimit(RLIMIT_FSIZE, &whole);
  const auto cut_short = [&] {
    const rlimit part{40, whole.rlim_max};
    setrlimit(RLIMIT_FSIZE, &part);
    const std::string e = said(write_settings_file(file(), SettingsRecord{}));
    setrlimit(RLIMIT_FSIZE, &whole);
    return e;
  };
  stdfs::permissions(file(), stdfs::perms::owner_write, stdfs::perm_options::add);
  EXPECT_NE(cut_short(), "");
  EXPECT_EQ(slurp(file()), "old");
  EXPECT_TRUE(platform::takes_new_file_beside(file()));
  // A folder that takes no new file, its settings file writable (an
  // administrator's install): written in place, unless the old bytes must
  // stay. Root meets the folder's permissions once it drops the override.
  stdfs::permissions(dir_, stdfs::perms::owner_write, stdfs::perm_options::remove);
  __user_cap_header_struct head{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct caps[2]{}, dropped[2]{};
  syscall(SYS_capget, &head, caps);
  dropped[0] = caps[0];
  dropped[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
  syscall(SYS_capset, &head, dropped);
  EXPECT_FALSE(said(write_settings_file(file(), SettingsRecord{}, true)).empty());
  EXPECT_FALSE(platform::takes_new_file_beside(file()));
  EXPECT_NE(cut_short(), "");
  EXPECT_EQ(slurp(file()), "old");
  EXPECT_EQ(said(write_settings_file(file(), SettingsRecord{})), "");
  syscall(SYS_capset, &head, caps);
  stdfs::permissions(dir_, stdfs::perms::owner_write, stdfs::perm_options::add);
  EXPECT_EQ(slurp(file()), format_settings(SettingsRecord{}));
  EXPECT_EQ(std::distance(stdfs::directory_iterator(dir_), {}), 1) << "nothing else made";
#endif
}

TEST_F(SettingsFile, MissingFolderFailsWithAReason) {
  EXPECT_FALSE(said(write_settings_file((dir_ / "no" / "such.ini").string(), {})).empty());
  const auto r = read_settings_file((dir_ / "absent.ini").string());
  EXPECT_FALSE(r);
  EXPECT_FALSE(said(r).empty());
}

TEST_F(SettingsFile, HugeFileIsReadOnlyUpToTheLimit) {
  std::string bytes = format_settings(SettingsRecord{});
  bytes.pop_back();  // the last line runs on without end
  bytes.pop_back();
  bytes += std::string(kMaxSettingsFileSize * 2, ' ');
  put(file(), bytes);
  const auto r = read_settings_file(file());
  ASSERT_TRUE(r);
  ASSERT_EQ(r.value().problems.size(), 1u);
  EXPECT_EQ(r.value().problems[0].line, 8);
  EXPECT_EQ(r.value().record.font_name, SettingsRecord{}.font_name);
}

TEST_F(SettingsFile, AnyFileButAFolderCountsAsPresent) {
  EXPECT_FALSE(platform::is_ordinary_file(file()));
  stdfs::create_directory(file());
  put(file() + "/mine.txt", "mine");
  EXPECT_FALSE(platform::is_ordinary_file(file())) << "a folder of that name";
  const std::string error = said(write_settings_file(file(), SettingsRecord{}));
  EXPECT_NE(error.find("同じ名前のフォルダーがあるため"), std::string::npos) << error;
  EXPECT_EQ(slurp(file() + "/mine.txt"), "mine") << "the folder is neither moved nor replaced";
  stdfs::remove_all(file());
  stdfs::remove(file());
  put(file(), "");
  EXPECT_TRUE(platform::is_ordinary_file(file()));
}

// What other programs and earlier runs leave in the folder never stops a
// save or gets overwritten: temporary names of our own, old files kept
// earlier (or a folder) under backup names, a link that stays a link.
TEST_F(SettingsFile, LeftoversBesideTheFileAreNeitherObstaclesNorOverwritten) {
  put(file(), "old");
  stdfs::create_directory(file() + ".tmp");
  put(file() + ".tmp.txt", "mine");
  put(file() + ".bak", "kept earlier");
  stdfs::create_directory(file() + ".bak2");
  const auto saved = write_settings_file(file(), SettingsRecord{}, true);
  ASSERT_EQ(said(saved), "");
  const std::string kept = saved.value().backup;
  EXPECT_EQ(slurp(file()), format_settings(SettingsRecord{}));
  EXPECT_EQ(kept, file() + ".bak3");
  EXPECT_EQ(slurp(kept), "old") << "kept under the first free name";
  EXPECT_EQ(slurp(file() + ".bak"), "kept earlier");
  EXPECT_EQ(slurp(file() + ".tmp.txt"), "mine");
  EXPECT_EQ(std::distance(stdfs::directory_iterator(dir_), {}), 6) << "no temporary file left";
}

// A settings file that is a link (to a synced folder, say) stays one.
TEST_F(SettingsFile, LinkKeepsPointingAtItsUpdatedTarget) {
  const std::string real = (dir_ / "real.ini").string();
  put(real, "old");
  stdfs::remove(file());
  std::error_code ec;
  stdfs::create_symlink(real, file(), ec);
  if (ec) GTEST_SKIP() << "links need a privilege here: " << ec.message();
  ASSERT_EQ(said(write_settings_file(file(), SettingsRecord{})), "");
  EXPECT_TRUE(stdfs::is_symlink(file()));
  EXPECT_EQ(slurp(real), format_settings(SettingsRecord{}));
}

#ifdef _WIN32
// Another program holding the file open without sharing it, until `ms`
// milliseconds have passed (0: for good). With `gone_ms` it then replaces
// the file as another copy's save does: the file is gone for that long.
class Holder {
 public:
  Holder(const std::string& path, DWORD ms, DWORD gone_ms = 0)
      : path_(stdfs::path(path).wstring()), gone_ms_(gone_ms) {
    h_ = CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (ms) CreateTimerQueueTimer(&timer_, nullptr, &release, this, ms, 0, WT_EXECUTEONLYONCE);
  }
  ~Holder() {
    if (timer_) DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE);
    close();
  }
  bool holding() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  void close() {
    HANDLE h = InterlockedExchangePointer(&h_, INVALID_HANDLE_VALUE);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  static void CALLBACK release(void* self, BOOLEAN) {
    auto* me = static_cast<Holder*>(self);
    me->close();
    const std::wstring away = me->path_ + L".away";
    if (me->gone_ms_ && MoveFileW(me->path_.c_str(), away.c_str())) {
      Sleep(me->gone_ms_);
      MoveFileW(away.c_str(), me->path_.c_str());
    }
  }
  std::wstring path_;
  DWORD gone_ms_;
  HANDLE h_ = INVALID_HANDLE_VALUE;
  HANDLE timer_ = nullptr;
};

TEST_F(SettingsFile, BriefLocksAreWaitedOutAndLastingOnesLeaveTheFileIntact) {
  put(file(), format_settings(SettingsRecord{}));
  {
    Holder scanner(file(), 300);
    ASSERT_TRUE(scanner.holding());
    EXPECT_TRUE(read_settings_file(file()));
  }
  SettingsRecord r;
  r.presentation_path = "C:\\new.ppt";
  {
    Holder scanner(file(), 300);
    EXPECT_EQ(said(write_settings_file(file(), r)), "");
  }
  EXPECT_EQ(slurp(file()), format_settings(r));
  // Another copy saving at the same instant: the file is gone for a moment.
  r.presentation_path = "C:\\both.ppt";
  {
    Holder other_copy(file(), 100, 200);
    EXPECT_EQ(said(write_settings_file(file(), r)), "");
  }
  EXPECT_EQ(slurp(file()), format_settings(r));
  {
    Holder editor(file(), 0);
    const auto read = read_settings_file(file());
    EXPECT_FALSE(read);
    EXPECT_FALSE(said(read).empty());
    EXPECT_FALSE(said(write_settings_file(file(), SettingsRecord{})).empty());
  }
  EXPECT_EQ(slurp(file()), format_settings(r)) << "the old bytes stay";
  EXPECT_EQ(std::distance(stdfs::directory_iterator(dir_), {}), 1) << "no temporary file left";

  // Open by an editor that shares it: read all the same.
  HANDLE shared =
      CreateFileW(stdfs::path(file()).wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_TRUE(read_settings_file(file()));
  CloseHandle(shared);
}

// Near the old limit of 260 characters the temporary and backup names pass
// it: every name is used in its long form.
TEST_F(SettingsFile, PathsNearTheOldLimitAreSavedThroughTheirLongForm) {
  const std::wstring path = L"C:\\" + std::wstring(240, L'a') + L"\\ombrelo.ini";
  ASSERT_EQ(path.size(), 255u);
  const std::wstring long_form = win32::long_path(path);
  EXPECT_EQ(long_form, L"\\\\?\\" + path);
  EXPECT_EQ(win32::plain_path(long_form + L".bak"), path + L".bak") << "as messages name it";
  EXPECT_EQ(win32::long_path(L"\\\\pc\\share\\o.ini"), L"\\\\?\\UNC\\pc\\share\\o.ini");

  const std::wstring deep =
      dir_.wstring() + L"\\" + std::wstring(242 - dir_.wstring().size(), L'd');
  ASSERT_TRUE(CreateDirectoryW(win32::long_path(deep).c_str(), nullptr));
  const std::string ini = (stdfs::path(deep) / "ombrelo.ini").string();
  ASSERT_EQ(ini.size(), 255u);
  put(ini, "old");
  const auto saved = write_settings_file(ini, SettingsRecord{}, true);
  ASSERT_EQ(said(saved), "");
  EXPECT_EQ(saved.value().backup, ini + ".bak");
  EXPECT_EQ(slurp(saved.value().backup), "old");
}

TEST_F(SettingsFile, HiddenAndSystemFilesCountAndKeepTheirAttributes) {
  const std::wstring w = stdfs::path(file()).wstring();
  for (const DWORD attrs : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM},
                            DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}}) {
    put(file(), "old");
    SetFileAttributesW(w.c_str(), attrs);
    EXPECT_TRUE(platform::is_ordinary_file(file())) << attrs;
    ASSERT_EQ(said(write_settings_file(file(), SettingsRecord{})), "") << attrs;
    EXPECT_EQ(GetFileAttributesW(w.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              attrs);
    SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(slurp(file()), format_settings(SettingsRecord{}));
  }
}
#endif

TEST(SettingsPath, BesideTheExecutableWithIniInPlaceOfTheExtension) {
  EXPECT_EQ(settings_path_for("C:\\Tools\\ombrelo.exe"), "C:\\Tools\\ombrelo.ini");
  EXPECT_EQ(settings_path_for("C:\\My.Tools\\ombrelo.v2.exe"), "C:\\My.Tools\\ombrelo.v2.ini");
  EXPECT_EQ(settings_path_for("C:\\ツール\\タイマー"), "C:\\ツール\\タイマー.ini");
  // Explorer runs an exe opened inside a zip from a folder in the temporary one.
  const std::string temp = "C:\\Users\\a\\AppData\\Local\\Temp\\";
  for (const auto& [path, folder, inside] :
       {std::tuple{temp + "Temp1_ombrelo.zip\\o\\ombrelo.ini", temp, true},
        {"c:\\users\\A\\appdata\\local\\TEMP\\x.ini", temp, true},
        {"/tmp/x/o.ini", "/tmp", true},
        {temp.substr(0, temp.size() - 1) + "orary\\x.ini", temp, false},
        {temp.substr(0, temp.size() - 1), temp, false},
        {"C:\\Tools\\x.ini", "", false}})
    EXPECT_EQ(is_inside_folder(path, folder), inside) << path << " in " << folder;
  // With TMP and TEMP unset the system gives the profile or the Windows
  // folder, and TMP may name a root: no temporary folder.
  const std::vector<std::string> fallbacks = {"C:\\Users\\a", "C:\\Windows\\"};
  for (const std::string& folder : {temp, std::string("C:\\Windows\\Temp\\")})
    EXPECT_TRUE(is_own_temporary_folder(folder, fallbacks)) << folder;
  for (const char* folder : {"c:\\users\\A\\", "C:\\windows", "C:\\", "\\\\pc\\share\\", ""})
    EXPECT_FALSE(is_own_temporary_folder(folder, fallbacks)) << folder;
}

#ifdef _WIN32
// Started by its 8.3 name, the program still names its file after the long one.
TEST_F(SettingsFile, ShortNamesBecomeTheNamesTheUserSees) {
  const stdfs::path full = dir_ / L"ombrelo long name.v2.exe";
  put(full.string(), "MZ");
  wchar_t short_form[MAX_PATH] = {};
  if (!GetShortPathNameW(full.c_str(), short_form, MAX_PATH) || full == short_form) GTEST_SKIP();
  EXPECT_TRUE(win32::without_short_names(short_form).ends_with(L"\\ombrelo long name.v2.exe"));
}
#endif

TEST(SettingsLocation, ExecutablePathIsAbsoluteAndNamesThisProgram) {
  const std::string exe = platform::executable_path();
  EXPECT_TRUE(stdfs::path(exe).is_absolute()) << exe;
  EXPECT_NE(exe.find("core_tests"), std::string::npos) << exe;
}

}  // namespace
}  // namespace ombrelo
