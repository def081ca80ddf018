// The editor's Japanese wording of errors: one switch over the kinds the core reports.
#include "editor/errortext.h"

#include <cerrno>
#include <new>

namespace quarvel {

namespace {

std::string Reason(int err) {
    return err ? "\n理由: " + JapaneseErrnoText(err) : std::string();
}

// Where a name stands: "「/…/map.ini」の 5 行目" or "data1.lib の 4 番目の項目".
std::string Place(const QuarvelError& e) {
    const NamePlace p = PlaceOf(e);
    if (p.IsEntry) return p.File + " の " + std::to_string(p.Number) + " 番目の項目";
    return "「" + p.File + "」の " + std::to_string(p.Number) + " 行目";
}

} // namespace

std::string JapaneseErrnoText(int err) {
    switch (err) {
    case ENOENT:
        return "ファイルまたはフォルダがありません";
    case EACCES:
        return "アクセス権がありません";
    case EPERM:
        return "操作が許可されていません";
    case ENOSPC:
        return "ディスクの空きが足りません";
    case EDQUOT:
        return "ディスク使用量の上限を超えました";
    case EROFS:
        return "読み取り専用のファイルシステムです";
    case EISDIR:
        return "フォルダです";
    case ENOTDIR:
        return "途中の名前がフォルダではありません";
    case EFBIG:
        return "ファイルが大きすぎます";
    case EIO:
        return "入出力エラーです";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case ELOOP:
        return "シンボリックリンクが循環しています";
    case EEXIST:
        return "同じ名前のものがすでにあります";
    case EBUSY:
        return "使用中です";
    case ETXTBSY:
        return "使用中のファイルです";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case ENOMEM:
        return "メモリが足りません";
    case EXDEV:
        return "別のファイルシステムをまたいでいます";
    case ENXIO:
        return "装置がありません";
    case EINVAL:
        return "引数が正しくありません";
    default:
        return "システムエラー " + std::to_string(err);
    }
}

std::string JapaneseErrorText(const QuarvelError& e) {
    const std::string role = RoleWords(e.Role, Wording::Japanese);
    const std::string file = "「" + PrintableName(e.Path) + "」";
    const std::string name = "「" + PrintableName(e.Name) + "」";
    switch (e.Kind) {
    case ErrorKind::Message:
        return e.Text;
    case ErrorKind::CannotOpen:
        return role + file + "を開けません。" + Reason(e.Errno);
    case ErrorKind::CannotRead:
        return role + file + "を読み込めません。" +
               (e.Errno ? Reason(e.Errno) : "\n理由: ファイルが途中で終わっています");
    case ErrorKind::NotRegularFile:
        return role + file + "は通常のファイルではありません（" +
               (e.Errno == EISDIR ? "フォルダ" : "装置やパイプ") + "です）。";
    case ErrorKind::TooShort:
        return role + file + "が短すぎます。\n" + std::to_string(e.MinimumSize) +
               " バイト以上必要ですが、" + std::to_string(e.FileSize) + " バイトしかありません。";
    case ErrorKind::NotAMap:
        return file + "はマップファイルじゃないよ？";
    case ErrorKind::NotFound:
        return role + file + "が見つかりません。";
    case ErrorKind::CannotCreate:
        return role + file + "を作成できません。" + Reason(e.Errno);
    case ErrorKind::CannotSave:
        return role + file + "を保存できません。" + Reason(e.Errno);
    case ErrorKind::Busy:
        return role + file + "を保存できません。\n理由: 別のプログラムが保存しているところです";
    case ErrorKind::WriteProtected:
        return role + file + "は書き込み禁止のため上書き保存できません。\n" +
               "「名前を付けて保存」で別のファイルに保存できます。";
    case ErrorKind::NoUserFolder:
        return role + file +
               "を用意できません。\n理由: 環境変数 XDG_DATA_HOME も HOME も絶対パスではありません";
    case ErrorKind::FolderIsLink:
        return role + file + "がシンボリックリンクです。実際のフォルダにしてください。";
    case ErrorKind::TooManyEntries:
        return role + file + "の項目が多すぎます（" + std::to_string(e.EntryCount) +
               " 個、上限は " + std::to_string(e.EntryLimit) + " 個）。";
    case ErrorKind::ListTooLarge:
        return role + file + "が大きすぎます（" + std::to_string(e.FileSize) + " バイト、上限は " +
               std::to_string(e.MaximumSize) + " バイト）。";
    case ErrorKind::MoreThanDataHolds:
        return role + file + "が壊れています。\nマップ " + std::to_string(e.UnpackSize) +
               " バイト分の項目がありますが、DATファイルは " + std::to_string(e.DataSize) +
               " バイトしかありません。";
    case ErrorKind::MapMissing:
        return "map.ini の " + std::to_string(e.Line) + " 行目のマップ" + name +
               "が見つからず、代わりの" + file + "もありません。";
    case ErrorKind::NameNotText:
        return Place(e) + "の名前" + name + "はファイル名にできません。";
    case ErrorKind::NameNotPlain:
        return Place(e) + "の名前" + name + "はフォルダの外を指すか、フォルダを含んでいます。";
    case ErrorKind::NameHasControl:
        return Place(e) + "の名前" + name + "に制御文字が含まれています。";
    case ErrorKind::NameSplitsChar:
        return Place(e) + "の名前" + name + "は " + std::to_string(e.KeptBytes) +
               " バイトで切ると全角文字の途中で切れます。";
    case ErrorKind::NameDuplicate:
        return Place(e) + "の名前" + name + "は " + std::to_string(e.SameAsLine) + " 行目と先頭 " +
               std::to_string(e.KeptBytes) + " バイトが同じです（同じファイルに展開されます）。";
    case ErrorKind::NameEmpty:
        return Place(e) + "の名前が空です。";
    case ErrorKind::EntryCutOff:
        return Place(e) + name + "が途中で切れています。";
    case ErrorKind::EntryPastEnd:
        return Place(e) + name + "のデータ（位置 " + std::to_string(e.Offset) +
               "）がDATファイルの終わり（" + std::to_string(e.DataSize) +
               " バイト）を越えています。";
    case ErrorKind::BadImage:
        return "画像データ" + name + "が読めません（" + e.Text + "）。";
    case ErrorKind::NoResource:
        return "画像データ" + name + "がありません。";
    }
    return "エラーが発生しました。";
}

std::string JapaneseErrorText(const std::exception& e) {
    if (const auto* q = dynamic_cast<const QuarvelError*>(&e)) return JapaneseErrorText(*q);
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "メモリが足りません。";
    return e.what();
}

} // namespace quarvel
