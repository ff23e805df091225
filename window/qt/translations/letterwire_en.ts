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
<context>
    <name>SaveDialog</name>
    <message>
        <source>アウトラインの保存</source>
        <translation>Save the outline</translation>
    </message>
    <message>
        <source>DXF 図面 (*.dxf)</source>
        <translation>DXF drawing (*.dxf)</translation>
    </message>
    <message>
        <source>SVG 画像 (*.svg)</source>
        <translation>SVG picture (*.svg)</translation>
    </message>
    <message>
        <source>JW 座標の行 (*.txt)</source>
        <translation>JW point lines (*.txt)</translation>
    </message>
    <message>
        <source>標準 (0.26 mm)</source>
        <translation>Classic (0.26 mm)</translation>
    </message>
    <message>
        <source>精度:</source>
        <translation>Precision:</translation>
    </message>
</context>
</TS>
