#pragma once
// Services that never block a measurement: the font dialog keeps the preset,
// messages go nowhere, the end is ignored.

#include "window/qt/services.hpp"

#include <QString>

struct QuietServices final : lw::Services {
    lw::WindowFont chooseFont(QWidget*, const lw::WindowFont& preset) override { return preset; }
    void showMessage(QWidget*, const QString&, const QString&) override {}
    void endProgram(int) override {}
};

// Twenty kanji: the text the keystroke figures are taken with.
inline const QString kKanji = QString::fromUtf8("漢字変換機能設計図面作成編集文字列出力確認");
