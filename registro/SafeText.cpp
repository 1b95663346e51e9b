#include "SafeText.h"

namespace {
bool hidden(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}
}

QString SafeText::shown(const QString &text, int maxChars)
{
    QString out;
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++count) {
        const bool pair = QChar::isHighSurrogate(text.at(i).unicode()) && i + 1 < text.size()
            && QChar::isLowSurrogate(text.at(i + 1).unicode());
        const qsizetype width = pair ? 2 : 1;
        if (count == maxChars - 1 && text.size() - i > width) {
            out += QChar(0x2026);
            break;
        }
        const char32_t c = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        if (hidden(c))
            out += QChar(QChar::ReplacementCharacter);
        else
            out += text.mid(i, width);
        i += width;
    }
    return out;
}
