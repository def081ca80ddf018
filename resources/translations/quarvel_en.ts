<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
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
</TS>
