#include "ui/messages.h"

namespace ombrelo::ui {

const std::string_view kOutOfMemory = "メモリが足りません";
const std::string_view kNoWindowMessage = "ウィンドウを作成できませんでした。";

namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (auto p : parts) out += p;
  return out;
}

// Start-up promises it; the save tells the name it chose then.
constexpr std::string_view kWillKeep =
    "終了時に設定を保存するとき、元のファイルは別の名前 (末尾に .bak など) で残し、"
    "その名前をお知らせします。\n";
constexpr std::string_view kWillAsk =
    "このフォルダーには元のファイルを別の名前で残せないため、終了時に上書きして"
    "保存するかどうかをお尋ねします。\n";

std::string_view what_the_save_does(bool can_keep_backup) {
  return can_keep_backup ? kWillKeep : kWillAsk;
}

std::string fault_text(const SettingsProblem& p) {
  switch (p.fault) {
    case LineFault::missing: return "行がありません";
    case LineFault::beyond_the_limit: return "ファイルが大きすぎるため読み取れません";
    case LineFault::line_too_long: return "行が長すぎます";
    case LineFault::no_closing_quote: return "閉じる引用符 (\") がありません";
    case LineFault::nul: return "NUL 文字が含まれています";
    case LineFault::empty: return "値が空です";
    case LineFault::bad_encoding: return "文字コードが正しくありません";
    case LineFault::text_too_long:
      return concat({"長すぎます (", std::to_string(kMaxTextUnits), " 文字まで)"});
    case LineFault::not_a_number: return "数値ではありません";
    case LineFault::out_of_range: return "値が範囲外です";
    case LineFault::not_a_flag: return "#TRUE# でも #FALSE# でもありません";
    case LineFault::unstorable:
      return concat(
          {"設定ファイルに書けない文字 (対になっていないサロゲート U+D800～U+DFFF) "
           "を含みます: ",
           p.text});
  }
  return {};
}

// One line each: its number, what it holds, and what became of it.
std::string problem_list(const std::vector<SettingsProblem>& problems) {
  std::string text;
  for (const auto& p : problems) {
    text += concat({"・", std::to_string(p.line), " 行目 (", settings_line_label(p.line),
                    "): ", fault_text(p), "\n"});
  }
  return text;
}

}  // namespace

std::string damaged_settings_message(std::string_view path,
                                     const std::vector<SettingsProblem>& problems,
                                     bool can_keep_backup) {
  return concat({"設定ファイルの一部を読み取れなかったため、その項目は既定値を使います。\n",
                 what_the_save_does(can_keep_backup), "\nファイル: ", path, "\n",
                 problem_list(problems)});
}

std::string unstorable_settings_message(std::string_view path,
                                        const std::vector<SettingsProblem>& kept) {
  return concat(
      {"設定を保存しました。ただし次の項目は設定ファイルに書けないため、"
       "前回保存した値のままにしました。\n\nファイル: ",
       path, "\n", problem_list(kept)});
}

std::string unreadable_settings_message(std::string_view path, const Reason& reason,
                                        bool can_keep_backup) {
  return concat({"設定ファイルを読み込めなかったため、既定の設定で起動します。\n",
                 what_the_save_does(can_keep_backup), "\nファイル: ", path,
                 "\n理由: ", reason_text(reason)});
}

std::string temporary_folder_message(std::string_view folder) {
  return concat(
      {"このプログラムは一時フォルダーから起動されています。一時フォルダーは Windows "
       "が後で削除するため、ここに保存した設定は次回の起動時には残りません。\n"
       "ZIP ファイルの中から起動した場合は、ZIP ファイルを展開し、展開先のフォルダーから"
       "起動してください。\n\nフォルダー: ",
       folder});
}

std::string overwrite_without_backup_question(std::string_view path) {
  return concat(
      {"起動時に読み取れなかった設定ファイルを、このフォルダーでは別の名前で残せません。\n"
       "元のファイルに上書きして、今回の設定を保存しますか?\n\n"
       "はい: 上書きして保存します (元の内容は残りません)。\n"
       "いいえ: 元のファイルをそのまま残します (今回の変更は保存されません)。\n\nファイル: ",
       path});
}

std::string kept_settings_message(std::string_view path, std::string_view kept_as) {
  return concat(
      {"設定を保存しました。元の設定ファイルは次の名前で残してあります。\n\n"
       "元のファイル: ",
       kept_as, "\n保存したファイル: ", path});
}

std::string unwritable_settings_message(std::string_view path, const Reason& reason) {
  return concat(
      {"設定を保存できませんでした。今回変更した設定は失われます。\n"
       "元の設定ファイルがあれば、そのまま残っています。\n\nファイル: ",
       path, "\n理由: ", reason_text(reason)});
}

std::string viewer_failed_message(std::string_view viewer, const Reason& reason) {
  return concat(
      {"PowerPoint を起動できなかったため、スライドショーを開始できません。\n\n"
       "プログラム: ",
       viewer, "\n理由: ", reason_text(reason)});
}

std::string unusable_path_message(bool in_viewer_path, std::string_view path) {
  return concat(
      {"ファイル名に「\"」や改行などの制御文字を含めることはできないため、"
       "スライドショーを開始できません。\n\n",
       in_viewer_path ? "PowerPoint のパス: " : "プレゼンテーションのファイル: ", path});
}

std::string dialog_failed_message(std::string_view dialog, const Reason& reason) {
  return concat({"「", dialog, "」ダイアログを開けませんでした。\n\n理由: ", reason_text(reason)});
}

std::string unusable_drop_message(const std::vector<std::string>& files) {
  if (files.size() > 1)
    return concat({"プレゼンテーションのファイルは 1 つだけドロップしてください (",
                   std::to_string(files.size()), " 個のファイルがドロップされました)。"});
  return concat(
      {"ドロップされたものはファイルではない (フォルダーなど) ため、"
       "プレゼンテーションのファイルに指定できません。\n\n",
       files.empty() ? "" : files.front()});
}

namespace {

std::string dialog_fault_text(DialogFault fault, unsigned long code) {
  switch (fault) {
    case DialogFault::out_of_memory: return std::string(kOutOfMemory);
    case DialogFault::invalid_file_name: return "ファイル名が正しくありません";
    case DialogFault::file_name_too_long: return "ファイル名が長すぎます";
    case DialogFault::no_fonts: return "フォントが見つかりません";
    case DialogFault::other: break;
  }
  return concat({"ダイアログを用意できませんでした (エラー ", std::to_string(code), ")"});
}

}  // namespace

std::string reason_text(const Reason& reason) {
  std::string text;
  switch (reason.kind) {
    case Reason::Kind::dialog: return dialog_fault_text(reason.dialog, reason.code);
    case Reason::Kind::out_of_memory: return std::string(kOutOfMemory);
    case Reason::Kind::library_check: return "プログラム内部の検査で誤りが見つかりました";
    case Reason::Kind::unexpected: return "予期しないエラーが起きました";
    case Reason::Kind::folder_in_the_way:
      text = "同じ名前のフォルダーがあるため、ファイルとして保存できません";
      break;
    case Reason::Kind::system: text = reason.words; break;
  }
  if (reason.code) {
    const std::string code = "エラー " + std::to_string(reason.code);
    text = text.empty() ? code : concat({text, " (", code, ")"});
  }
  return reason.file.empty() ? text : concat({reason.file, ": ", text});
}

std::string font_caption(std::string_view name, const Number& size,
                         std::string_view decimal_separator) {
  std::string number = format_number(size);
  if (const auto dot = number.find('.'); dot != std::string::npos) {
    number.replace(dot, 1, decimal_separator);
  }
  return concat({name, " ", number, "pt"});
}

}  // namespace ombrelo::ui
