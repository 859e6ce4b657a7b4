#include "app/texts.h"

namespace hardclone {

const char* MessageOf(int code) {
  switch (code) {
    case 2: return "ハードリンク対象が指定されていません。";
    case 3: return "Sourceディレクトリが存在しません。";
    case 4: return "Sourceファイルが存在しません。";
    case 5: return "SourceとDestのドライブが同一ではありません。";
    case 6: return "ファイルシステムがNTFSではありません。";
    case 7: return "WindowsNT系のOSではありません。";
    case 8: return "Source と Dest が同じフォルダです。";
    case 9: return "Source と Dest が同じファイルです。";
    case 10: return "Dest を削除すると Source も削除されるため、処理を中止しました。";
    default: return "";
  }
}

const char* const kCancelled = "処理はキャンセルされました。";
const char* const kQuestionTarget = "対象 %s はファイルですか？ディレクトリですか？";
const char* const kQuestionChoice = "それともキャンセルしますか？(F/D/C):";
const char* const kFailure = "エラー: %s (%s)";
const char* const kFailureCount = "%d 件の処理に失敗しました。";
const char* const kVersion = " version1.00";

const std::vector<const char*>& UsageLines() {
  // The leader after the option word is U+2025 twice (0x81 0x64 in code page 932).
  static const std::vector<const char*> lines = {
      "使用法: %s [オプション]‥‥ Source [Dest]",
      "",
      "Source のファイルを Dest に対してハードリンクします。",
      "",
      "Dest を省略した場合にはカレントディレクトリに対してハードリンクします。",
      "Source がディレクトリの場合、Source のディレクトリ構造を再帰的に Dest に再現しつつファイルのみハードリンクを行います。",
      "",
      "  -c      Source がディレクトリの場合、最初に Dest を削除してから処理します。",
      "          削除されたディレクトリはゴミ箱へ移動します。",
      "  -d      -c と同じですが、ゴミ箱へ移動しません。",
      "  -v      処理内容の詳細を表示します。",
      "  -h,-?   使い方を表示して終了します。",
  };
  return lines;
}

}  // namespace hardclone
