<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Application</name>
    <message>
        <source>不明なエラーです</source>
        <translation>Unknown error.</translation>
    </message>
</context>
<context>
    <name>ChipNames</name>
    <message>
        <source>空白</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>さら地1</source>
        <translation>Ground 1</translation>
    </message>
    <message>
        <source>さら地2</source>
        <translation>Ground 2</translation>
    </message>
    <message>
        <source>さら地3</source>
        <translation>Ground 3</translation>
    </message>
    <message>
        <source>さら地4</source>
        <translation>Ground 4</translation>
    </message>
    <message>
        <source>さら地5</source>
        <translation>Ground 5</translation>
    </message>
    <message>
        <source>さら地6</source>
        <translation>Ground 6</translation>
    </message>
    <message>
        <source>さら地7</source>
        <translation>Ground 7</translation>
    </message>
    <message>
        <source>さら地8</source>
        <translation>Ground 8</translation>
    </message>
    <message>
        <source>さら地9</source>
        <translation>Ground 9</translation>
    </message>
    <message>
        <source>さら地10</source>
        <translation>Ground 10</translation>
    </message>
    <message>
        <source>さら地11</source>
        <translation>Ground 11</translation>
    </message>
    <message>
        <source>さら地12</source>
        <translation>Ground 12</translation>
    </message>
    <message>
        <source>さら地13</source>
        <translation>Ground 13</translation>
    </message>
    <message>
        <source>さら地14</source>
        <translation>Ground 14</translation>
    </message>
    <message>
        <source>さら地15</source>
        <translation>Ground 15</translation>
    </message>
    <message>
        <source>さら地16</source>
        <translation>Ground 16</translation>
    </message>
    <message>
        <source>石畳1</source>
        <translation>Paving 1</translation>
    </message>
    <message>
        <source>石畳2</source>
        <translation>Paving 2</translation>
    </message>
    <message>
        <source>石畳3</source>
        <translation>Paving 3</translation>
    </message>
    <message>
        <source>石畳4</source>
        <translation>Paving 4</translation>
    </message>
    <message>
        <source>石畳5</source>
        <translation>Paving 5</translation>
    </message>
    <message>
        <source>石畳6</source>
        <translation>Paving 6</translation>
    </message>
    <message>
        <source>石畳7</source>
        <translation>Paving 7</translation>
    </message>
    <message>
        <source>石畳8</source>
        <translation>Paving 8</translation>
    </message>
    <message>
        <source>畑1</source>
        <translation>Field 1</translation>
    </message>
    <message>
        <source>畑2</source>
        <translation>Field 2</translation>
    </message>
    <message>
        <source>畑3</source>
        <translation>Field 3</translation>
    </message>
    <message>
        <source>畑4</source>
        <translation>Field 4</translation>
    </message>
    <message>
        <source>村1</source>
        <translation>Village 1</translation>
    </message>
    <message>
        <source>村2</source>
        <translation>Village 2</translation>
    </message>
    <message>
        <source>村3</source>
        <translation>Village 3</translation>
    </message>
    <message>
        <source>村4</source>
        <translation>Village 4</translation>
    </message>
    <message>
        <source>木-上</source>
        <translation>Tree-top</translation>
    </message>
    <message>
        <source>木-中</source>
        <translation>Tree-middle</translation>
    </message>
    <message>
        <source>木-下</source>
        <translation>Tree-bottom</translation>
    </message>
    <message>
        <source>柵-上</source>
        <translation>Fence-top</translation>
    </message>
    <message>
        <source>柵-下</source>
        <translation>Fence-bottom</translation>
    </message>
    <message>
        <source>封印-上</source>
        <translation>Seal-top</translation>
    </message>
    <message>
        <source>封印-下</source>
        <translation>Seal-bottom</translation>
    </message>
    <message>
        <source>敵-弱</source>
        <translation>Enemy-weak</translation>
    </message>
    <message>
        <source>敵-中</source>
        <translation>Enemy-medium</translation>
    </message>
    <message>
        <source>敵-強</source>
        <translation>Enemy-strong</translation>
    </message>
    <message>
        <source>草</source>
        <translation>Grass</translation>
    </message>
    <message>
        <source>橋1</source>
        <translation>Bridge 1</translation>
    </message>
    <message>
        <source>橋2</source>
        <translation>Bridge 2</translation>
    </message>
    <message>
        <source>橋3</source>
        <translation>Bridge 3</translation>
    </message>
    <message>
        <source>橋4</source>
        <translation>Bridge 4</translation>
    </message>
    <message>
        <source>橋5</source>
        <translation>Bridge 5</translation>
    </message>
    <message>
        <source>橋6</source>
        <translation>Bridge 6</translation>
    </message>
    <message>
        <source>橋7</source>
        <translation>Bridge 7</translation>
    </message>
    <message>
        <source>橋8</source>
        <translation>Bridge 8</translation>
    </message>
    <message>
        <source>橋9</source>
        <translation>Bridge 9</translation>
    </message>
    <message>
        <source>橋10</source>
        <translation>Bridge 10</translation>
    </message>
    <message>
        <source>橋11</source>
        <translation>Bridge 11</translation>
    </message>
    <message>
        <source>壊れ橋1</source>
        <translation>Broken bridge 1</translation>
    </message>
    <message>
        <source>壊れ橋2</source>
        <translation>Broken bridge 2</translation>
    </message>
    <message>
        <source>壊れ橋3</source>
        <translation>Broken bridge 3</translation>
    </message>
    <message>
        <source>壊れ橋4</source>
        <translation>Broken bridge 4</translation>
    </message>
    <message>
        <source>壊れ橋5</source>
        <translation>Broken bridge 5</translation>
    </message>
    <message>
        <source>壊れ橋6</source>
        <translation>Broken bridge 6</translation>
    </message>
    <message>
        <source>壊れ橋7</source>
        <translation>Broken bridge 7</translation>
    </message>
    <message>
        <source>壊れ橋8</source>
        <translation>Broken bridge 8</translation>
    </message>
    <message>
        <source>壊れ橋9</source>
        <translation>Broken bridge 9</translation>
    </message>
    <message>
        <source>壊れ橋10</source>
        <translation>Broken bridge 10</translation>
    </message>
    <message>
        <source>壊れ橋11</source>
        <translation>Broken bridge 11</translation>
    </message>
    <message>
        <source>階段1</source>
        <translation>Stairs 1</translation>
    </message>
    <message>
        <source>階段2</source>
        <translation>Stairs 2</translation>
    </message>
    <message>
        <source>川1</source>
        <translation>River 1</translation>
    </message>
    <message>
        <source>川2</source>
        <translation>River 2</translation>
    </message>
    <message>
        <source>川3</source>
        <translation>River 3</translation>
    </message>
    <message>
        <source>川4</source>
        <translation>River 4</translation>
    </message>
    <message>
        <source>川5</source>
        <translation>River 5</translation>
    </message>
    <message>
        <source>川6</source>
        <translation>River 6</translation>
    </message>
    <message>
        <source>川7</source>
        <translation>River 7</translation>
    </message>
    <message>
        <source>岩</source>
        <translation>Rock</translation>
    </message>
    <message>
        <source>巣穴1</source>
        <translation>Den 1</translation>
    </message>
    <message>
        <source>巣穴2</source>
        <translation>Den 2</translation>
    </message>
    <message>
        <source>巣穴3</source>
        <translation>Den 3</translation>
    </message>
    <message>
        <source>巣穴4</source>
        <translation>Den 4</translation>
    </message>
    <message>
        <source>入口1</source>
        <translation>Entrance 1</translation>
    </message>
    <message>
        <source>入口2</source>
        <translation>Entrance 2</translation>
    </message>
    <message>
        <source>入口3</source>
        <translation>Entrance 3</translation>
    </message>
    <message>
        <source>入口4</source>
        <translation>Entrance 4</translation>
    </message>
    <message>
        <source>昇降機-下</source>
        <translation>Lift-bottom</translation>
    </message>
    <message>
        <source>昇降機-上</source>
        <translation>Lift-top</translation>
    </message>
    <message>
        <source>昇降機-中1</source>
        <translation>Lift-middle 1</translation>
    </message>
    <message>
        <source>昇降機-中2</source>
        <translation>Lift-middle 2</translation>
    </message>
    <message>
        <source>水晶</source>
        <translation>Crystal</translation>
    </message>
    <message>
        <source>お金</source>
        <translation>Money</translation>
    </message>
    <message>
        <source>時計</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>王様1</source>
        <translation>King 1</translation>
    </message>
    <message>
        <source>王様2</source>
        <translation>King 2</translation>
    </message>
    <message>
        <source>王様3</source>
        <translation>King 3</translation>
    </message>
    <message>
        <source>王様4</source>
        <translation>King 4</translation>
    </message>
    <message>
        <source>城門-下1</source>
        <translation>Gate-bottom 1</translation>
    </message>
    <message>
        <source>城門-下2</source>
        <translation>Gate-bottom 2</translation>
    </message>
    <message>
        <source>城門-下3</source>
        <translation>Gate-bottom 3</translation>
    </message>
    <message>
        <source>城門-下4</source>
        <translation>Gate-bottom 4</translation>
    </message>
    <message>
        <source>城門-上1</source>
        <translation>Gate-top 1</translation>
    </message>
    <message>
        <source>城門-上2</source>
        <translation>Gate-top 2</translation>
    </message>
    <message>
        <source>城門-上3</source>
        <translation>Gate-top 3</translation>
    </message>
    <message>
        <source>城門-上4</source>
        <translation>Gate-top 4</translation>
    </message>
    <message>
        <source>城壁-下1</source>
        <translation>Wall-bottom 1</translation>
    </message>
    <message>
        <source>城壁-下2</source>
        <translation>Wall-bottom 2</translation>
    </message>
    <message>
        <source>城壁-下3</source>
        <translation>Wall-bottom 3</translation>
    </message>
    <message>
        <source>城壁-下4</source>
        <translation>Wall-bottom 4</translation>
    </message>
    <message>
        <source>城壁-上1</source>
        <translation>Wall-top 1</translation>
    </message>
    <message>
        <source>城壁-上2</source>
        <translation>Wall-top 2</translation>
    </message>
    <message>
        <source>城壁-上3</source>
        <translation>Wall-top 3</translation>
    </message>
    <message>
        <source>城壁-上4</source>
        <translation>Wall-top 4</translation>
    </message>
</context>
<context>
    <name>ChipReplace</name>
    <message>
        <source>見つかりません</source>
        <translation>Not found.</translation>
    </message>
    <message>
        <source>チップの置換</source>
        <translation>Replace Chips</translation>
    </message>
    <message>
        <source>%1 個のチップを置換しました</source>
        <translation>Replaced %1 chips.</translation>
    </message>
    <message>
        <source>
（階層の制限で %1 個は置換しませんでした）</source>
        <translation>
(%1 were not replaced: their level does not allow the chip.)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は %2～%3 の整数ではありません</source>
        <translation>&apos;%1&apos; is not a whole number from %2 to %3</translation>
    </message>
</context>
<context>
    <name>ChipReplaceDialog</name>
    <message>
        <source>チップの置換</source>
        <translation>Replace Chips</translation>
    </message>
    <message>
        <source>検索するチップ</source>
        <translation>Find chip</translation>
    </message>
    <message>
        <source>置換するチップ</source>
        <translation>Replace with</translation>
    </message>
    <message>
        <source>範囲</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>選択範囲</source>
        <translation>Selection</translation>
    </message>
    <message>
        <source>マップ全体</source>
        <translation>Whole map</translation>
    </message>
    <message>
        <source>階層</source>
        <translation>Levels</translation>
    </message>
    <message>
        <source>～</source>
        <translation>to</translation>
    </message>
    <message>
        <source>置換</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>次を検索</source>
        <translation>Find Next</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CommandPalette</name>
    <message>
        <source>コマンド検索</source>
        <translation>Find Command</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>datフォルダに出力しました</source>
        <translation>The archive was written to the dat folder.</translation>
    </message>
    <message>
        <source>DAT構築</source>
        <translation>Pack Archive</translation>
    </message>
    <message>
        <source>unpackedフォルダに出力しました</source>
        <translation>The maps were written to the unpacked folder.</translation>
    </message>
    <message>
        <source>DAT分解</source>
        <translation>Unpack Archive</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>File not found.</translation>
    </message>
    <message>
        <source>編集中のマップを保存しますか？</source>
        <translation>Save the map you are editing?</translation>
    </message>
    <message>
        <source>マップファイルじゃないよ？</source>
        <translation>That is not a map file.</translation>
    </message>
</context>
<context>
    <name>DiskFile</name>
    <message>
        <source>ファイルが途中までしかないため（%1 バイト）、読み込み直しませんでした。編集中のマップはそのまま残します。</source>
        <translation>The file ends early (%1 bytes), so it was not loaded again. The map being edited stays as it is.</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで削除されたか、名前を変えられました。編集中のマップは保存されていないものとして残します。</source>
        <translation>Another program deleted or renamed the file. The map being edited stays and counts as not saved.</translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されました。編集中のマップはそのまま残します。上書き保存するときにもう一度確認します。</source>
        <translation>Another program changed the file. The map being edited stays as it is; saving will ask again before it replaces the file.</translation>
    </message>
    <message>
        <source>ファイルが他のプログラムで変更されました。読み込み直しますか？</source>
        <translation>Another program changed the file. Load it again?</translation>
    </message>
    <message>
        <source>ファイルは他のプログラムで変更されています。上書きしますか？</source>
        <translation>Another program has changed the file. Overwrite it?</translation>
    </message>
</context>
<context>
    <name>EditLogic</name>
    <message>
        <source>床抜けるよ？</source>
        <translation>That would break through the floor.</translation>
    </message>
    <message>
        <source>天井ぶち抜くよ？</source>
        <translation>That would break through the ceiling.</translation>
    </message>
</context>
<context>
    <name>Errno</name>
    <message>
        <source>ファイルまたはフォルダがありません</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>アクセス権がありません</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>操作が許可されていません</source>
        <translation>operation not permitted</translation>
    </message>
    <message>
        <source>ディスクの空きが足りません</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>ディスク使用量の上限を超えました</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>読み取り専用のファイルシステムです</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>フォルダです</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>途中の名前がフォルダではありません</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>入出力エラーです</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>名前が長すぎます</source>
        <translation>name too long</translation>
    </message>
    <message>
        <source>シンボリックリンクが循環しています</source>
        <translation>symbolic links loop</translation>
    </message>
    <message>
        <source>同じ名前のものがすでにあります</source>
        <translation>something of that name already exists</translation>
    </message>
    <message>
        <source>使用中です</source>
        <translation>in use</translation>
    </message>
    <message>
        <source>使用中のファイルです</source>
        <translation>the file is in use</translation>
    </message>
    <message>
        <source>開いているファイルが多すぎます</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>メモリが足りません</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>別のファイルシステムをまたいでいます</source>
        <translation>it crosses file systems</translation>
    </message>
    <message>
        <source>装置がありません</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>引数が正しくありません</source>
        <translation>invalid argument</translation>
    </message>
    <message>
        <source>システムエラー %1</source>
        <translation>system error %1</translation>
    </message>
</context>
<context>
    <name>ErrorText</name>
    <message>
        <source>
理由: %1</source>
        <translation>
Reason: %1</translation>
    </message>
    <message>
        <source>%1 の %2 番目の項目</source>
        <translation>entry %2 of %1</translation>
    </message>
    <message>
        <source>「%1」の %2 行目</source>
        <translation>line %2 of “%1”</translation>
    </message>
    <message>
        <source>%1「%2」を開けません。%3</source>
        <translation>Cannot open the %1 “%2”.%3</translation>
    </message>
    <message>
        <source>%1「%2」を読み込めません。%3</source>
        <translation>Cannot read the %1 “%2”.%3</translation>
    </message>
    <message>
        <source>
理由: ファイルが途中で終わっています</source>
        <translation>
Reason: the file ends too early</translation>
    </message>
    <message>
        <source>%1「%2」は通常のファイルではありません（%3です）。</source>
        <translation>The %1 “%2” is not a regular file (it is a %3).</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>folder</translation>
    </message>
    <message>
        <source>装置やパイプ</source>
        <translation>device or pipe</translation>
    </message>
    <message>
        <source>%1「%2」が短すぎます。
%3 バイト以上必要ですが、%4 バイトしかありません。</source>
        <translation>The %1 “%2” is too short.
It needs at least %3 bytes but has only %4.</translation>
    </message>
    <message>
        <source>「%1」はマップファイルじゃないよ？</source>
        <translation>“%1” is not a map file.</translation>
    </message>
    <message>
        <source>%1「%2」が見つかりません。</source>
        <translation>The %1 “%2” was not found.</translation>
    </message>
    <message>
        <source>%1「%2」を作成できません。%3</source>
        <translation>Cannot create the %1 “%2”.%3</translation>
    </message>
    <message>
        <source>%1「%2」を保存できません。%3</source>
        <translation>Cannot save the %1 “%2”.%3</translation>
    </message>
    <message>
        <source>%1「%2」を保存できません。
理由: 別のプログラムが保存しているところです</source>
        <translation>Cannot save the %1 “%2”.
Reason: another program is saving it</translation>
    </message>
    <message>
        <source>%1「%2」は書き込み禁止のため上書き保存できません。
「名前を付けて保存」で別のファイルに保存できます。</source>
        <translation>The %1 “%2” is write-protected and cannot be saved over.
Use “Save As” to save to another file.</translation>
    </message>
    <message>
        <source>%1「%2」を用意できません。
理由: 環境変数 XDG_DATA_HOME も HOME も絶対パスではありません</source>
        <translation>Cannot set up the %1 “%2”.
Reason: neither XDG_DATA_HOME nor HOME is an absolute path</translation>
    </message>
    <message>
        <source>%1「%2」がシンボリックリンクです。実際のフォルダにしてください。</source>
        <translation>The %1 “%2” is a symbolic link. Make it a real folder.</translation>
    </message>
    <message>
        <source>%1「%2」の項目が多すぎます（%3 個、上限は %4 個）。</source>
        <translation>The %1 “%2” has too many entries (%3, at most %4).</translation>
    </message>
    <message>
        <source>%1「%2」が大きすぎます（%3 バイト、上限は %4 バイト）。</source>
        <translation>The %1 “%2” is too large (%3 bytes, at most %4 bytes).</translation>
    </message>
    <message>
        <source>%1「%2」が壊れています。
マップ %3 バイト分の項目がありますが、DATファイルは %4 バイトしかありません。</source>
        <translation>The %1 “%2” is broken.
Its entries hold %3 bytes of maps, but the DAT file has only %4 bytes.</translation>
    </message>
    <message>
        <source>map.ini の %1 行目のマップ「%2」が見つからず、代わりの「%3」もありません。</source>
        <translation>The map “%2” on line %1 of map.ini was not found, and there is no “%3” to stand in for it.</translation>
    </message>
    <message>
        <source>%1の名前「%2」はファイル名にできません。</source>
        <translation>The name “%2” at %1 cannot be a file name.</translation>
    </message>
    <message>
        <source>%1の名前「%2」はフォルダの外を指すか、フォルダを含んでいます。</source>
        <translation>The name “%2” at %1 points outside the folder or contains a folder.</translation>
    </message>
    <message>
        <source>%1の名前「%2」に制御文字が含まれています。</source>
        <translation>The name “%2” at %1 contains control characters.</translation>
    </message>
    <message>
        <source>%1の名前「%2」は %3 バイトで切ると全角文字の途中で切れます。</source>
        <translation>The name “%2” at %1, cut at %3 bytes, would be cut in the middle of a double-byte character.</translation>
    </message>
    <message>
        <source>%1の名前「%2」は %3 行目と先頭 %4 バイトが同じです（同じファイルに展開されます）。</source>
        <translation>The name “%2” at %1 has the same first %4 bytes as line %3 (both would unpack to the same file).</translation>
    </message>
    <message>
        <source>%1の名前が空です。</source>
        <translation>The name at %1 is empty.</translation>
    </message>
    <message>
        <source>%1「%2」が途中で切れています。</source>
        <translation>“%2” at %1 is cut off.</translation>
    </message>
    <message>
        <source>%1「%2」のデータ（位置 %3）がDATファイルの終わり（%4 バイト）を越えています。</source>
        <translation>The data of “%2” at %1 (offset %3) lies past the end of the DAT file (%4 bytes).</translation>
    </message>
    <message>
        <source>画像データ「%1」が読めません（%2）。</source>
        <translation>Cannot read the picture data “%1” (%2).</translation>
    </message>
    <message>
        <source>画像データ「%1」がありません。</source>
        <translation>The picture data “%1” is missing.</translation>
    </message>
    <message>
        <source>エラーが発生しました。</source>
        <translation>An error occurred.</translation>
    </message>
    <message>
        <source>メモリが足りません。</source>
        <translation>Out of memory.</translation>
    </message>
</context>
<context>
    <name>FileRole</name>
    <message>
        <source>マップファイル</source>
        <translation>map file</translation>
    </message>
    <message>
        <source>チップファイル</source>
        <translation>chip file</translation>
    </message>
    <message>
        <source>パレットファイル</source>
        <translation>palette file</translation>
    </message>
    <message>
        <source>リストファイル</source>
        <translation>list file</translation>
    </message>
    <message>
        <source>DATファイル</source>
        <translation>DAT file</translation>
    </message>
    <message>
        <source>LIBファイル</source>
        <translation>LIB file</translation>
    </message>
    <message>
        <source>画像ファイル</source>
        <translation>picture file</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>folder</translation>
    </message>
    <message>
        <source>mapフォルダ</source>
        <translation>map folder</translation>
    </message>
    <message>
        <source>datフォルダ</source>
        <translation>dat folder</translation>
    </message>
    <message>
        <source>unpackedフォルダ</source>
        <translation>unpacked folder</translation>
    </message>
    <message>
        <source>復元用のコピー</source>
        <translation>recovery copy</translation>
    </message>
    <message>
        <source>ユーザーフォルダ</source>
        <translation>user folder</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>file</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Quarvelマップファイル(*.map)</source>
        <translation>Quarvel map files (*.map)</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>処理中...</source>
        <translation>Working...</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>編集</source>
        <translation>Edit View</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>全体</source>
        <translation>Whole Map</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>ソルテア</source>
        <translation>Soltea</translation>
    </message>
    <message>
        <source>砂漠</source>
        <translation>Desert</translation>
    </message>
    <message>
        <source>雪</source>
        <translation>Snow</translation>
    </message>
    <message>
        <source>溶岩</source>
        <translation>Lava</translation>
    </message>
    <message>
        <source>チップ選択</source>
        <translation>Chip</translation>
    </message>
    <message>
        <source>変更 %1</source>
        <translation>Changed %1</translation>
    </message>
</context>
<context>
    <name>Form6</name>
    <message>
        <source>国の入れ替え</source>
        <translation>Swap Countries</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>白</source>
        <translation>White</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Global</name>
    <message>
        <source>ファイル名がShift_JISではありません: %1</source>
        <translation>The file name is not Shift_JIS: %1</translation>
    </message>
    <message>
        <source>チップデータが見つかりません</source>
        <translation>The chip data was not found.</translation>
    </message>
</context>
<context>
    <name>MainMenu</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>削除(&amp;L)</source>
        <translation>De&amp;lete</translation>
    </message>
    <message>
        <source>すべて選択(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>マップをずらす...</source>
        <translation>Shift Map...</translation>
    </message>
    <message>
        <source>国の入れ替え...</source>
        <translation>Swap Countries...</translation>
    </message>
    <message>
        <source>選択範囲を移動...</source>
        <translation>Move Selection...</translation>
    </message>
    <message>
        <source>選択範囲を1マス移動</source>
        <translation>Move Selection by One Step</translation>
    </message>
    <message>
        <source>チップの置換(&amp;F)...</source>
        <translation>&amp;Find and Replace Chips...</translation>
    </message>
    <message>
        <source>操作(&amp;O)</source>
        <translation>&amp;Operation</translation>
    </message>
    <message>
        <source>上の階層(&amp;U)</source>
        <translation>Level &amp;Up</translation>
    </message>
    <message>
        <source>下の階層(&amp;D)</source>
        <translation>Level &amp;Down</translation>
    </message>
    <message>
        <source>選択したまま上の階層へ</source>
        <translation>Level Up, Keeping the Selection</translation>
    </message>
    <message>
        <source>選択したまま下の階層へ</source>
        <translation>Level Down, Keeping the Selection</translation>
    </message>
    <message>
        <source>チップ選択-前(&amp;P)</source>
        <translation>&amp;Previous Chip</translation>
    </message>
    <message>
        <source>チップ選択-次(&amp;N)</source>
        <translation>&amp;Next Chip</translation>
    </message>
    <message>
        <source>全体マップ更新(&amp;R)</source>
        <translation>&amp;Refresh Whole Map</translation>
    </message>
    <message>
        <source>マップ整形(&amp;F)</source>
        <translation>&amp;Shape Map</translation>
    </message>
    <message>
        <source>ウィンドウ(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>切り替え(&amp;S)</source>
        <translation>&amp;Switch</translation>
    </message>
    <message>
        <source>重ねて表示(&amp;C)</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>上下に並べて表示(&amp;H)</source>
        <translation>Tile &amp;Horizontally</translation>
    </message>
    <message>
        <source>左右に並べて表示(&amp;V)</source>
        <translation>Tile &amp;Vertically</translation>
    </message>
    <message>
        <source>縮小表示-編集(&amp;X)</source>
        <translation>Small Chips - &amp;Edit View</translation>
    </message>
    <message>
        <source>縮小表示-全体(&amp;Z)</source>
        <translation>Small Chips - &amp;Whole Map</translation>
    </message>
    <message>
        <source>背景色変更-編集...</source>
        <translation>Background Colour - Edit View...</translation>
    </message>
    <message>
        <source>背景色変更-全体...</source>
        <translation>Background Colour - Whole Map...</translation>
    </message>
    <message>
        <source>ツール(&amp;T)</source>
        <translation>&amp;Tool</translation>
    </message>
    <message>
        <source>DAT構築(&amp;C)</source>
        <translation>&amp;Pack Archive</translation>
    </message>
    <message>
        <source>DAT分解(&amp;U)</source>
        <translation>&amp;Unpack Archive</translation>
    </message>
    <message>
        <source>コマンド検索(&amp;K)...</source>
        <translation>Find &amp;Command...</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>下の階層を薄く表示-編集(&amp;G)</source>
        <translation>&amp;Ghost of the Level Below - Edit View</translation>
    </message>
    <message>
        <source>上の階層を隠す-全体(&amp;K)</source>
        <translation>Hide the Levels &amp;Above - Whole Map</translation>
    </message>
    <message>
        <source>ポインタの下のセルを表示-全体(&amp;H)</source>
        <translation>&amp;Highlight the Cell under the Pointer - Whole Map</translation>
    </message>
    <message>
        <source>左へ</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右へ</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>奥へ</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>手前へ</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>上の階層へ</source>
        <translation>Level Up</translation>
    </message>
    <message>
        <source>下の階層へ</source>
        <translation>Level Down</translation>
    </message>
    <message>
        <source>変更箇所を表示(&amp;M)</source>
        <translation>&amp;Mark Changed Cells</translation>
    </message>
    <message>
        <source>問題の一覧(&amp;P)</source>
        <translation>&amp;Problems</translation>
    </message>
    <message>
        <source>ショートカットの設定...</source>
        <translation>Keyboard Shortcuts...</translation>
    </message>
</context>
<context>
    <name>MapCheck</name>
    <message>
        <source>チップ %1 はありません（チップは 0～%2）</source>
        <translation>chip %1 does not exist (chips are 0..%2)</translation>
    </message>
    <message>
        <source>%1 がそろっていません：</source>
        <translation>%1 is not whole: </translation>
    </message>
    <message>
        <source>マップ整形で %1 が %2 に変わります</source>
        <translation>map shaping would change %1 to %2</translation>
    </message>
    <message>
        <source>X:%1 Y:%2 Z:%3 </source>
        <translation>X:%1 Y:%2 Z:%3 </translation>
    </message>
    <message>
        <source>階層 %1 が %3 でなく %2 です</source>
        <translation>level %1 holds %2 instead of %3</translation>
    </message>
    <message>
        <source>%2 を置く階層 %1 がマップの外です</source>
        <translation>level %1 for %2 lies outside the map</translation>
    </message>
    <message>
        <source>、</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>MapToolDialogs</name>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; is not a whole number</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>NewMap</name>
    <message>
        <source>新規マップ</source>
        <translation>New map</translation>
    </message>
</context>
<context>
    <name>OffsetsDialog</name>
    <message>
        <source>X方向</source>
        <translation>X</translation>
    </message>
    <message>
        <source>Y方向</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Z方向</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>マップをずらす</source>
        <translation>Shift Map</translation>
    </message>
    <message>
        <source>選択範囲を移動</source>
        <translation>Move Selection</translation>
    </message>
</context>
<context>
    <name>Problems</name>
    <message>
        <source>問題 (%1)</source>
        <translation>Problems (%1)</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>ファイルが見つかりません。一覧から外します。</source>
        <translation>File not found. It is taken off the list.</translation>
    </message>
</context>
<context>
    <name>Recovery</name>
    <message>
        <source>前回保存されなかった編集内容があります。復元しますか？</source>
        <translation>There are changes that were not saved last time. Restore them?</translation>
    </message>
    <message>
        <source>

マップ: %1</source>
        <translation>

Map: %1</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>
保存時刻: %1</source>
        <translation>
Copy saved: %1</translation>
    </message>
</context>
<context>
    <name>RunningCopy</name>
    <message>
        <source>「%1」は別のユーザーのものです。
他のユーザーのファイルは使えないため、起動を中止します。</source>
        <translation>“%1” belongs to another user.
Quarvel cannot use another user&apos;s files and does not start.</translation>
    </message>
</context>
<context>
    <name>SelectionMove</name>
    <message>
        <source>マップからはみ出すよ？</source>
        <translation>That would go off the map.</translation>
    </message>
    <message>
        <source>選択 Z:%1-%2</source>
        <translation>Sel. Z:%1-%2</translation>
    </message>
</context>
<context>
    <name>TShortcutDialog</name>
    <message>
        <source>ショートカットの設定</source>
        <translation>Keyboard Shortcuts</translation>
    </message>
    <message>
        <source>コマンド</source>
        <translation>Command</translation>
    </message>
    <message>
        <source>キー</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>消去</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>既定に戻す</source>
        <translation>Restore Default</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>キー:</source>
        <translation>Key:</translation>
    </message>
    <message>
        <source>%1 は「%2」のキーです。</source>
        <translation>%1 is the key of &quot;%2&quot;.</translation>
    </message>
</context>
</TS>
