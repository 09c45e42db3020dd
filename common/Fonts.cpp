#include "common/Fonts.h"
#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"),
        {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")});
    // The button page's key numbers: digits only, in a light face.
    QFont::insertSubstitutions(QStringLiteral("Microsoft YaHei UI Light"),
        {QStringLiteral("DejaVu Sans Light"), QStringLiteral("DejaVu Sans")});
}
