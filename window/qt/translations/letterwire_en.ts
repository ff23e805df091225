<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Form1</name>
    <message>
        <source>サイズ</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>傾き</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>フォント...</source>
        <translation>Font...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>再描画</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>アウトラインの確認</source>
        <translation>Inspect outline</translation>
    </message>
    <message>
        <source>WIT出力</source>
        <translation>WIT export</translation>
    </message>
    <message>
        <source>全体を表示</source>
        <translation>Fit to preview</translation>
    </message>
</context>
</TS>
