#pragma once
// The window's English captions, from the form's one table of them, as a Qt
// translator: installed for every user whose language is not Japanese.

#include <QString>
#include <QTranslator>

namespace lw {

class CaptionTranslator final : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

// A design caption as the user reads it: through whichever translator is
// installed, the design's own words when none is.
QString captionText(const char* design);

} // namespace lw
