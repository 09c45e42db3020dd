#include "common/LanguageNames.h"

QStringList LanguageNames()
{
    return {QStringLiteral("English"),        QStringLiteral("Ukrainian"),
            QStringLiteral("POLSKI"),         QString::fromUtf8("한국어"),
            QString::fromUtf8("Русский"),     QString::fromUtf8("日本語")};
}

bool IsLanguageIndex(int index)
{
    return index >= 0 && index < LanguageCount;
}
