#include "common/Fonts.h"
#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"),
        {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
}
