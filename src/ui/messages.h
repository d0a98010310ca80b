#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "settings/settings.h"

namespace ombrelo::ui {

// What the program tells the user, in Japanese; each names the file and the
// reason. At start-up, what the save will do with the old file: keep it
// under a backup name, or, where its folder takes no new file, ask.
std::string damaged_settings_message(std::string_view path,
                                     const std::vector<SettingsProblem>& problems,
                                     bool can_keep_backup);
std::string unreadable_settings_message(std::string_view path, const Reason& reason,
                                        bool can_keep_backup);
std::string temporary_folder_message(std::string_view folder);
std::string overwrite_without_backup_question(std::string_view path);
std::string unwritable_settings_message(std::string_view path, const Reason& reason);
std::string kept_settings_message(std::string_view path, std::string_view kept_as);
std::string unstorable_settings_message(std::string_view path,
                                        const std::vector<SettingsProblem>& kept);
std::string viewer_failed_message(std::string_view viewer, const Reason& reason);
std::string unusable_path_message(bool in_viewer_path, std::string_view path);
std::string dialog_failed_message(std::string_view dialog, const Reason& reason);
// Files dropped on the window that cannot be the presentation: several at
// once, or one that is no file (a folder).
std::string unusable_drop_message(const std::vector<std::string>& files);

// Why an operation failed, in words: the system's, or the program's where
// the reason is its own, with the system's number and the file it names.
std::string reason_text(const Reason& reason);

// Why a common dialog could not open, as the system reports it, and the
// words for it; `code` is the system's number, named where nothing else is.

// The reason given when memory ran out, and the one message shown before
// any window exists.
extern const std::string_view kOutOfMemory, kNoWindowMessage;

// The font button's caption: the font name, a space, the size in its shortest
// form with the user's decimal separator, and "pt".
std::string font_caption(std::string_view name, const Number& size,
                         std::string_view decimal_separator);

}  // namespace ombrelo::ui
