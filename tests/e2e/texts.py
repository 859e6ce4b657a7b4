"""Every text the tool prints, written once as Unicode.

A target encodes them (code page 932 with CR LF for the Windows build,
UTF-8 with LF for the native one); nothing here knows about either.
"""

MESSAGES = {
    2: "ハードリンク対象が指定されていません。",
    3: "Sourceディレクトリが存在しません。",
    4: "Sourceファイルが存在しません。",
    5: "SourceとDestのドライブが同一ではありません。",
    6: "ファイルシステムがNTFSではありません。",
    7: "WindowsNT系のOSではありません。",
    8: "Source と Dest が同じフォルダです。",
    9: "Source と Dest が同じファイルです。",
    10: "Dest を削除すると Source も削除されるため、処理を中止しました。",
}

QUESTION = "対象 %s はファイルですか？ディレクトリですか？"
PROMPT = "それともキャンセルしますか？(F/D/C):"  # written without a line end
CANCELLED = "処理はキャンセルされました。"
BACKSPACE = "\b"

ERROR_PREFIX = "エラー: "  # "エラー: <full path> (<system reason>)"
FAILED_COUNT = "%d 件の処理に失敗しました。"

VERSION = "%s version1.00"

# "%s" is the program name. The two dots after "[オプション]" are U+2025
# (two-dot leader) twice.
USAGE = [
    "使用法: %s [オプション]\u2025\u2025 Source [Dest]",
    "",
    "Source のファイルを Dest に対してハードリンクします。",
    "",
    "Dest を省略した場合にはカレントディレクトリに対してハードリンクします。",
    "Source がディレクトリの場合、Source のディレクトリ構造を再帰的に Dest に"
    "再現しつつファイルのみハードリンクを行います。",
    "",
    "  -c      Source がディレクトリの場合、最初に Dest を削除してから処理します。",
    "          削除されたディレクトリはゴミ箱へ移動します。",
    "  -d      -c と同じですが、ゴミ箱へ移動しません。",
    "  -v      処理内容の詳細を表示します。",
    "  -h,-?   使い方を表示して終了します。",
]

CANCEL_EXIT = 255  # exit code -1 as the shell sees it

PROGRAM = "hardclone"


def version_line(program=PROGRAM):
    return VERSION % program


def usage_lines(program=PROGRAM):
    return [version_line(program)] + [
        line % program if "%s" in line else line for line in USAGE
    ]


def report_lines(code, program=PROGRAM):
    """Lines of a report: message and empty line (not for 99), version, usage."""
    head = [] if code == 99 else [MESSAGES[code], ""]
    return head + usage_lines(program)


def question_line(dest_shown):
    return QUESTION % dest_shown
