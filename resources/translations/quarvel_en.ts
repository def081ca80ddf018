<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
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
</TS>
