// The editor's wording of errors, written in Japanese and shown through the translations: one
// switch over the kinds the core reports.
#include "editor/errortext.h"

#include "editor/texts.h"

#include <cerrno>
#include <new>

namespace quarvel {

namespace {

std::string Reason(int err) {
    return err ? Arg(Tr("ErrorText", "\n理由: %1"), {ShownErrnoText(err)}) : std::string();
}

// Where a name stands: "「/…/map.ini」の 5 行目" or "data1.lib の 4 番目の項目".
std::string Place(const QuarvelError& e) {
    const NamePlace p = PlaceOf(e);
    if (p.IsEntry)
        return Arg(Tr("ErrorText", "%1 の %2 番目の項目"), {p.File, std::to_string(p.Number)});
    return Arg(Tr("ErrorText", "「%1」の %2 行目"), {p.File, std::to_string(p.Number)});
}

} // namespace

std::string ShownErrnoText(int err) {
    switch (err) {
    case ENOENT:
        return Tr("Errno", "ファイルまたはフォルダがありません");
    case EACCES:
        return Tr("Errno", "アクセス権がありません");
    case EPERM:
        return Tr("Errno", "操作が許可されていません");
    case ENOSPC:
        return Tr("Errno", "ディスクの空きが足りません");
    case EDQUOT:
        return Tr("Errno", "ディスク使用量の上限を超えました");
    case EROFS:
        return Tr("Errno", "読み取り専用のファイルシステムです");
    case EISDIR:
        return Tr("Errno", "フォルダです");
    case ENOTDIR:
        return Tr("Errno", "途中の名前がフォルダではありません");
    case EFBIG:
        return Tr("Errno", "ファイルが大きすぎます");
    case EIO:
        return Tr("Errno", "入出力エラーです");
    case ENAMETOOLONG:
        return Tr("Errno", "名前が長すぎます");
    case ELOOP:
        return Tr("Errno", "シンボリックリンクが循環しています");
    case EEXIST:
        return Tr("Errno", "同じ名前のものがすでにあります");
    case EBUSY:
        return Tr("Errno", "使用中です");
    case ETXTBSY:
        return Tr("Errno", "使用中のファイルです");
    case EMFILE:
    case ENFILE:
        return Tr("Errno", "開いているファイルが多すぎます");
    case ENOMEM:
        return Tr("Errno", "メモリが足りません");
    case EXDEV:
        return Tr("Errno", "別のファイルシステムをまたいでいます");
    case ENXIO:
        return Tr("Errno", "装置がありません");
    case EINVAL:
        return Tr("Errno", "引数が正しくありません");
    default:
        return Arg(Tr("Errno", "システムエラー %1"), {std::to_string(err)});
    }
}

// Each text is one template: %1 the file's role ("マップファイル"), %2 its path, and the
// numbers and reason after them; the English puts them in its own order.
std::string ShownErrorText(const QuarvelError& e) {
    const std::string role = Tr("FileRole", RoleWords(e.Role, Wording::Japanese));
    const std::string path = PrintableName(e.Path);
    const std::string name = PrintableName(e.Name);
    const auto n = [](auto value) { return std::to_string(value); };
    switch (e.Kind) {
    case ErrorKind::Message:
        return e.Text;
    case ErrorKind::CannotOpen:
        return Arg(Tr("ErrorText", "%1「%2」を開けません。%3"), {role, path, Reason(e.Errno)});
    case ErrorKind::CannotRead:
        return Arg(Tr("ErrorText", "%1「%2」を読み込めません。%3"),
                   {role, path,
                    e.Errno ? Reason(e.Errno)
                            : Tr("ErrorText", "\n理由: ファイルが途中で終わっています")});
    case ErrorKind::NotRegularFile:
        return Arg(
            Tr("ErrorText", "%1「%2」は通常のファイルではありません（%3です）。"),
            {role, path,
             e.Errno == EISDIR ? Tr("ErrorText", "フォルダ") : Tr("ErrorText", "装置やパイプ")});
    case ErrorKind::TooShort:
        return Arg(Tr("ErrorText", "%1「%2」が短すぎます。\n%3 バイト以上必要ですが、%4 "
                                   "バイトしかありません。"),
                   {role, path, n(e.MinimumSize), n(e.FileSize)});
    case ErrorKind::NotAMap:
        return Arg(Tr("ErrorText", "「%1」はマップファイルじゃないよ？"), {path});
    case ErrorKind::NotFound:
        return Arg(Tr("ErrorText", "%1「%2」が見つかりません。"), {role, path});
    case ErrorKind::CannotCreate:
        return Arg(Tr("ErrorText", "%1「%2」を作成できません。%3"), {role, path, Reason(e.Errno)});
    case ErrorKind::CannotSave:
        return Arg(Tr("ErrorText", "%1「%2」を保存できません。%3"), {role, path, Reason(e.Errno)});
    case ErrorKind::Busy:
        return Arg(Tr("ErrorText", "%1「%2」を保存できません。\n理由: "
                                   "別のプログラムが保存しているところです"),
                   {role, path});
    case ErrorKind::WriteProtected:
        return Arg(Tr("ErrorText", "%1「%2」は書き込み禁止のため上書き保存できません。\n"
                                   "「名前を付けて保存」で別のファイルに保存できます。"),
                   {role, path});
    case ErrorKind::NoUserFolder:
        return Arg(Tr("ErrorText", "%1「%2」を用意できません。\n理由: 環境変数 XDG_DATA_HOME "
                                   "も HOME も絶対パスではありません"),
                   {role, path});
    case ErrorKind::FolderIsLink:
        return Arg(
            Tr("ErrorText", "%1「%2」がシンボリックリンクです。実際のフォルダにしてください。"),
            {role, path});
    case ErrorKind::TooManyEntries:
        return Arg(Tr("ErrorText", "%1「%2」の項目が多すぎます（%3 個、上限は %4 個）。"),
                   {role, path, n(e.EntryCount), n(e.EntryLimit)});
    case ErrorKind::ListTooLarge:
        return Arg(Tr("ErrorText", "%1「%2」が大きすぎます（%3 バイト、上限は %4 バイト）。"),
                   {role, path, n(e.FileSize), n(e.MaximumSize)});
    case ErrorKind::MoreThanDataHolds:
        return Arg(Tr("ErrorText", "%1「%2」が壊れています。\nマップ %3 "
                                   "バイト分の項目がありますが、DATファイルは %4 "
                                   "バイトしかありません。"),
                   {role, path, n(e.UnpackSize), n(e.DataSize)});
    case ErrorKind::MapMissing:
        return Arg(Tr("ErrorText", "map.ini の %1 "
                                   "行目のマップ「%2」が見つからず、代わりの「%3」もありません。"),
                   {n(e.Line), name, path});
    case ErrorKind::NameNotText:
        return Arg(Tr("ErrorText", "%1の名前「%2」はファイル名にできません。"), {Place(e), name});
    case ErrorKind::NameNotPlain:
        return Arg(
            Tr("ErrorText", "%1の名前「%2」はフォルダの外を指すか、フォルダを含んでいます。"),
            {Place(e), name});
    case ErrorKind::NameHasControl:
        return Arg(Tr("ErrorText", "%1の名前「%2」に制御文字が含まれています。"), {Place(e), name});
    case ErrorKind::NameSplitsChar:
        return Arg(Tr("ErrorText", "%1の名前「%2」は %3 バイトで切ると全角文字の途中で切れます。"),
                   {Place(e), name, n(e.KeptBytes)});
    case ErrorKind::NameDuplicate:
        return Arg(Tr("ErrorText", "%1の名前「%2」は %3 行目と先頭 %4 "
                                   "バイトが同じです（同じファイルに展開されます）。"),
                   {Place(e), name, n(e.SameAsLine), n(e.KeptBytes)});
    case ErrorKind::NameEmpty:
        return Arg(Tr("ErrorText", "%1の名前が空です。"), {Place(e)});
    case ErrorKind::EntryCutOff:
        return Arg(Tr("ErrorText", "%1「%2」が途中で切れています。"), {Place(e), name});
    case ErrorKind::EntryPastEnd:
        return Arg(Tr("ErrorText", "%1「%2」のデータ（位置 %3）がDATファイルの終わり（%4 "
                                   "バイト）を越えています。"),
                   {Place(e), name, n(e.Offset), n(e.DataSize)});
    case ErrorKind::BadImage:
        return Arg(Tr("ErrorText", "画像データ「%1」が読めません（%2）。"), {name, e.Text});
    case ErrorKind::NoResource:
        return Arg(Tr("ErrorText", "画像データ「%1」がありません。"), {name});
    }
    return Tr("ErrorText", "エラーが発生しました。");
}

std::string ShownErrorText(const std::exception& e) {
    if (const auto* q = dynamic_cast<const QuarvelError*>(&e)) return ShownErrorText(*q);
    if (dynamic_cast<const std::bad_alloc*>(&e)) return Tr("ErrorText", "メモリが足りません。");
    return e.what();
}

} // namespace quarvel
