// Tests of the wording of errors: every kind the core reports reads in English for
// quarvel-cli and in Japanese for the editor, names its file, numbers and reason, and prints
// names safely.
#include "editor/errortext.h"
#include "editor/texts.h"
#include "map/maperror.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <new>
#include <stdexcept>
#include <vector>

namespace quarvel {
namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// One error of every kind, each with the file, name and numbers it carries.
std::vector<QuarvelError> OneOfEachKind() {
    const std::string map = "/m/マップ.map", lib = "/p/dat/data1.lib", ini = "/p/map/map.ini";
    using K = ErrorKind;
    using R = FileRole;
    return {
        QuarvelError("已に書かれた文"),
        QuarvelError(K::CannotOpen, R::MapFile, map, EACCES),
        QuarvelError(K::CannotRead, R::ChipFile, map, EIO),
        QuarvelError(K::NotRegularFile, R::MapFile, map),
        QuarvelError(K::TooShort, R::ChipFile, map).Sizes(516096, 1000),
        QuarvelError(K::NotAMap, R::MapFile, map),
        QuarvelError(K::NotFound, R::ListFile, ini),
        QuarvelError(K::CannotCreate, R::Folder, map, ENOTDIR),
        QuarvelError(K::CannotSave, R::MapFile, map, EPERM),
        QuarvelError(K::Busy, R::MapFile, map),
        QuarvelError(K::WriteProtected, R::MapFile, map),
        QuarvelError(K::NoUserFolder, R::UserFolder, "~/.local/share/quarvel"),
        QuarvelError(K::FolderIsLink, R::UnpackFolder, map),
        QuarvelError(K::TooManyEntries, R::ArchiveIndex, lib).Entries(43549, 43550),
        QuarvelError(K::ListTooLarge, R::ListFile, ini).TooLarge(11192093, 52428800),
        QuarvelError(K::MoreThanDataHolds, R::ArchiveIndex, lib).Unpacks(98400, 49312),
        QuarvelError(K::MapMissing, R::MapFile, "/p/map/dummy.map").AtLine(7).Named("gone.map"),
        QuarvelError(K::NameNotText, R::ListFile, ini).AtLine(7).Named("\x83"),
        QuarvelError(K::NameNotPlain, R::ListFile, ini).AtLine(7).Named("../x.map"),
        QuarvelError(K::NameHasControl, R::ArchiveIndex, lib).AtEntry(7).Named("a\x1b[2J.map"),
        QuarvelError(K::NameSplitsChar, R::ListFile, ini).AtLine(7).Named("x").CutTo(30),
        QuarvelError(K::NameDuplicate, R::ListFile, ini).AtLine(7).Named("x").SameAs(5).CutTo(30),
        QuarvelError(K::NameEmpty, R::ArchiveIndex, lib).AtEntry(7),
        QuarvelError(K::EntryCutOff, R::ArchiveIndex, lib).AtEntry(7).Named("cut.map"),
        QuarvelError(K::EntryPastEnd, R::ArchiveIndex, lib)
            .AtEntry(7)
            .Named("far.map")
            .RecordAt(-1, 49312),
        QuarvelError(K::BadImage, R::File, "").Named("GRID").Detail("no 'BM' signature"),
        QuarvelError(K::NoResource, R::File, "").Named("GRID"),
    };
}

TEST(ErrorText, EveryKindIsWordedInBothLanguages) {
    const std::vector<QuarvelError> all = OneOfEachKind();
    ASSERT_EQ(all.size(), size_t(ErrorKind::NoResource) + 1); // one of each kind
    for (size_t k = 0; k < all.size(); ++k) {
        const QuarvelError& e = all[k];
        ASSERT_EQ(size_t(e.Kind), k);
        const std::string en = e.what(), ja = ShownErrorText(e);
        SCOPED_TRACE(en);
        SCOPED_TRACE(ja);
        EXPECT_EQ(en, EnglishErrorText(e));
        if (e.Kind == ErrorKind::Message) { // worded by whoever raised it
            EXPECT_EQ(ja, en);
            continue;
        }
        EXPECT_NE(en, ja);
        // The file is named: whole, or by its name for the entries of an archive index.
        const std::string base = e.Path.substr(e.Path.rfind('/') + 1);
        const bool entry = e.Role == FileRole::ArchiveIndex && e.Entry >= 0;
        EXPECT_TRUE(Has(en, entry ? base : e.Path));
        EXPECT_TRUE(Has(ja, entry ? base : e.Path));
        // Every number the kind carries is in both wordings.
        std::vector<std::string> numbers;
        for (uint64_t n : {e.MinimumSize, e.FileSize, e.EntryLimit, e.EntryCount, e.UnpackSize,
                           e.DataSize, e.KeptBytes})
            if (n) numbers.push_back(std::to_string(n));
        for (long long n : {e.Line, e.Entry, e.SameAsLine})
            if (n >= 0) numbers.push_back(std::to_string(n));
        if (e.Kind == ErrorKind::EntryPastEnd) numbers.push_back(std::to_string(e.Offset));
        for (const std::string* text : {&en, &ja}) {
            for (const std::string& n : numbers) EXPECT_TRUE(Has(*text, n)) << n;
            EXPECT_FALSE(Has(*text, "\x1b")); // names are printed safely
        }
        // The Japanese text has no English words of its own (file names and the resource's
        // technical detail aside).
        std::string own = ja;
        for (const std::string& known : {e.Path, base, e.Name, e.Text, std::string("map.ini"),
                                         std::string("DAT"), std::string("LIB")})
            for (size_t at; !known.empty() && (at = own.find(known)) != std::string::npos;)
                own.erase(at, known.size());
        for (const char* english : {"cannot", "not ", "file", "found", "short", "error"})
            EXPECT_FALSE(Has(own, english)) << english;
    }
}

TEST(ErrorText, TextsThatScriptsAndTheEditorShow) {
    const QuarvelError shortChip =
        QuarvelError(ErrorKind::TooShort, FileRole::ChipFile, "/c/B_000.2c").Sizes(516096, 1000);
    EXPECT_STREQ(shortChip.what(),
                 "chip file too short: /c/B_000.2c (needs at least 516096 bytes, has 1000)");
    EXPECT_EQ(ShownErrorText(shortChip),
              "チップファイル「/c/B_000.2c」が短すぎます。\n516096 バイト以上必要ですが、1000 "
              "バイトしかありません。");

    const QuarvelError save(ErrorKind::CannotSave, FileRole::MapFile, "/m/a.map", EPERM);
    EXPECT_STREQ(save.what(), "cannot save map file '/m/a.map': Operation not permitted");
    EXPECT_EQ(ShownErrorText(save),
              "マップファイル「/m/a.map」を保存できません。\n理由: 操作が許可されていません");

    const QuarvelError list(ErrorKind::NotFound, FileRole::ListFile, "/p/map/map.ini");
    EXPECT_STREQ(list.what(), "list file not found: /p/map/map.ini");
    EXPECT_EQ(ShownErrorText(list), "リストファイル「/p/map/map.ini」が見つかりません。");

    EXPECT_STREQ(QuarvelError(ErrorKind::NotAMap, FileRole::MapFile, "t.map").what(),
                 "t.map: マップファイルじゃないよ？");

    // What is not the core's keeps its own text; no memory is said in Japanese.
    EXPECT_EQ(ShownErrorText(std::runtime_error("broken handler")), "broken handler");
    EXPECT_EQ(ShownErrorText(std::bad_alloc()), "メモリが足りません。");
    EXPECT_EQ(ShownErrorText(static_cast<const std::exception&>(save)), ShownErrorText(save));
}

TEST(ErrorText, SystemErrorsInJapanese) {
    for (int err : {ENOENT, EACCES, EPERM, ENOSPC, EROFS, EISDIR, ENOTDIR, EFBIG, EIO})
        EXPECT_FALSE(Has(ShownErrnoText(err), "システムエラー")) << err;
    EXPECT_EQ(ShownErrnoText(ENOSPC), "ディスクの空きが足りません");
    EXPECT_EQ(ShownErrnoText(9999), "システムエラー 9999");
}

TEST(ErrorText, PrintableNames) {
    struct Case {
        std::string In, Out;
    };
    for (const Case& c : {
             Case{"plain.map", "plain.map"},
             Case{"マップ.map", "マップ.map"},            // UTF-8 stays
             Case{"a\x1b[31mb", "a\\x1B[31mb"},           // ESC
             Case{"bell\a\n\x7f", "bell\\x07\\x0A\\x7F"}, // BEL, newline, DEL
             Case{"\x83\x7d", "\\x83}"},                  // code page 932 bytes are no UTF-8
             Case{"\xc2\x9b", "\\xC2\\x9B"},              // C1 control (CSI)
             Case{"\xe3\x83", "\\xE3\\x83"},              // cut-off sequence
             Case{"\xc0\xaf", "\\xC0\\xAF"},              // overlong '/'
             Case{"", ""},
         })
        EXPECT_EQ(PrintableName(c.In), c.Out) << c.In;
}

} // namespace
} // namespace quarvel

// The translator of shown texts: arguments are put in once, in one pass, and the texts stay as
// written when no translator is installed.
TEST(ShownTexts, ArgumentsAndTranslator) {
    using quarvel::Arg;
    EXPECT_EQ(Arg("%1 個のチップ (%2 / %1)", {"12", "%1"}), "12 個のチップ (%1 / 12)");
    EXPECT_EQ(Arg("100% %3 %", {"a"}), "100% %3 %");
    EXPECT_EQ(quarvel::Tr("T", "見つかりません"), "見つかりません");
    quarvel::SetTextTranslator([](const char* context, const char* source) {
        return std::string(context) + ":" + source;
    });
    EXPECT_EQ(quarvel::Tr("T", "x"), "T:x");
    quarvel::SetTextTranslator(nullptr);
    EXPECT_EQ(quarvel::Tr("T", "x"), "x");
}
