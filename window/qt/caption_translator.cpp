#include "window/qt/caption_translator.hpp"

#include "form/captions.hpp"

#include <QCoreApplication>

namespace lw {
namespace {

constexpr const char* kContext = "Letterwire";

} // namespace

QString CaptionTranslator::translate(const char* context, const char* sourceText, const char*, int) const
{
    // Only the window's own captions: Qt's dialogs keep their own words.
    if (!context || std::string_view(context) != kContext || !sourceText)
        return {};
    const char* english = englishCaption(sourceText);
    return english ? QString::fromUtf8(english) : QString();
}

QString captionText(const char* design) { return QCoreApplication::translate(kContext, design); }

} // namespace lw
