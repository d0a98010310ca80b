// The settings file on a real file system: reading, the one-step replace that
// never leaves a half-written file, and what counts as present.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#endif

#include "settings/file_io.h"
#include "settings/settings.h"

namespace ombrelo {
namespace {

namespace stdfs = std::filesystem;

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
  r.presentation = "C:\\発表\\講演.ppt";
  r.fontSz = Number::single(36.0f);
  ASSERT_EQ(write_settings_file(file(), r), "");
  EXPECT_EQ(slurp(file()), format_settings(r));
  const SettingsRead back = read_settings_file(file());
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_TRUE(back.settings.problems.empty());
  EXPECT_EQ(back.settings.complete_with({}).presentation, r.presentation);
  EXPECT_EQ(back.settings.fontSz, Number::integer(36));
  EXPECT_FALSE(stdfs::exists(file() + ".tmp")) << "no temporary file is left behind";
}

TEST_F(SettingsFile, ReplacingKeepsNothingOfTheOldContent) {
  put(file(), std::string(5000, 'x'));
  ASSERT_EQ(write_settings_file(file(), SettingsRecord{}), "");
  EXPECT_EQ(slurp(file()), format_settings(SettingsRecord{}));
}

TEST_F(SettingsFile, ReadOnlyFileIsLeftIntactAndTheFailureHasAReason) {
  put(file(), "old");
  stdfs::permissions(
      file(), stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
      stdfs::perm_options::remove);
  const std::string error = write_settings_file(file(), SettingsRecord{});
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(slurp(file()), "old");
  EXPECT_FALSE(stdfs::exists(file() + ".tmp"));
}

TEST_F(SettingsFile, MissingFolderFailsWithAReason) {
  EXPECT_FALSE(write_settings_file((dir_ / "no" / "such.ini").string(), {}).empty());
  const SettingsRead r = read_settings_file((dir_ / "absent.ini").string());
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
}

TEST_F(SettingsFile, HugeFileIsReadOnlyUpToTheLimit) {
  std::string bytes = format_settings(SettingsRecord{});
  bytes.pop_back();  // the last line runs on without end
  bytes.pop_back();
  bytes += std::string(kMaxSettingsFileSize * 2, ' ');
  put(file(), bytes);
  const SettingsRead r = read_settings_file(file());
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.settings.problems.size(), 1u);
  EXPECT_EQ(r.settings.problems[0].line, 8);
  EXPECT_EQ(r.settings.fontNm, std::string(kDefaultFontName));
}

TEST_F(SettingsFile, OnlyAnOrdinaryFileCountsAsPresent) {
  EXPECT_FALSE(fs::is_ordinary_file(file()));
  stdfs::create_directory(file());
  EXPECT_FALSE(fs::is_ordinary_file(file())) << "a folder of that name";
  stdfs::remove(file());
  put(file(), "");
  EXPECT_TRUE(fs::is_ordinary_file(file()));
#ifdef _WIN32
  const std::wstring w = stdfs::path(file()).wstring();
  SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(fs::is_ordinary_file(file())) << "a hidden file";
  SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_SYSTEM);
  EXPECT_FALSE(fs::is_ordinary_file(file())) << "a system file";
  SetFileAttributesW(w.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
}

TEST(SettingsLocation, ExecutablePathIsAbsoluteAndNamesThisProgram) {
  const std::string exe = fs::executable_path();
  EXPECT_TRUE(stdfs::path(exe).is_absolute()) << exe;
  EXPECT_NE(exe.find("core_tests"), std::string::npos) << exe;
}

}  // namespace
}  // namespace ombrelo
