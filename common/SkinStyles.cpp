#include "common/SkinStyles.h"

#include "common/AppPaths.h"
#include "common/UserConfig.h"

QString rgbText(const QStringList& numbers)
{
    QStringList parts;
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = i < numbers.size() ? numbers.at(i).trimmed().toInt(&ok) : 0;
        parts << QString::number(ok ? qBound(0, value, 255) : 255);
    }
    return parts.join(QLatin1Char(','));
}

QString skinColor(const QString& key)
{
    return rgbText(UserConfig::instance()->valueList(QStringLiteral("Option"), key));
}

QString pictureFolder(const QString& name)
{
    return AppPaths::programDir() + QStringLiteral("/Picture/") + name + QLatin1Char('/');
}

QString labelColorStyle(const QString& rgb)
{
    return QStringLiteral("QLabel{color: rgb(") + rgb + QStringLiteral(";);}");
}

QString backgroundStyle(const QString& frameName, const QString& folder)
{
    return QLatin1Char('#') + frameName +
           QStringLiteral("{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(") +
           folder + QStringLiteral("BackGround.png); }");
}

QString closeButtonStyle(const QString& folder)
{
    return QStringLiteral("QToolButton{border:0px;background-image: url(") + folder +
           QStringLiteral("Close.png);background-position:center;background-repeat:no-repeat;}"
                          "QToolButton:hover{background-image: url(") +
           folder + QStringLiteral("CloseHover.png);}QToolButton:pressed{background-image: url(") + folder +
           QStringLiteral("CloseClick.png);}");
}

QString confirmButtonStyle(const QString& rgb, const QString& folder, const QString& image, const QString& pressedImage)
{
    return QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(") +
           rgb + QStringLiteral(";);border-image: url(") + folder + image +
           QStringLiteral(");}QToolButton:pressed{border-image: url(") + folder + pressedImage + QStringLiteral("); }");
}
