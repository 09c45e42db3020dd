#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"

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
           QStringLiteral("{border:0px;background-position:center;background-repeat:no-repeat;background-image: ") +
           styleSheetUrl(folder + QStringLiteral("BackGround.png")) + QStringLiteral("; }");
}

QString stretchedBackgroundStyle(const QString& frameName, const QString& folder)
{
    return QLatin1Char('#') + frameName + QStringLiteral("{border:0px;border-image: ") +
           styleSheetUrl(folder + QStringLiteral("BackGround.png")) + QStringLiteral("; }");
}

QString plainButtonStyle(const QString& folder, const char* normal, const char* hover, const char* pressed)
{
    return QStringLiteral("QToolButton{border:0px;background-image: ") + styleSheetUrl(folder + QLatin1String(normal)) +
           QStringLiteral(";background-position:center;background-repeat:no-repeat;}QToolButton:hover{background-image: ") +
           styleSheetUrl(folder + QLatin1String(hover)) +
           QStringLiteral(";}QToolButton:pressed{background-image: ") + styleSheetUrl(folder + QLatin1String(pressed)) +
           QStringLiteral(";}");
}

QString closeButtonStyle(const QString& folder)
{
    return plainButtonStyle(folder, "Close.png", "CloseHover.png", "CloseClick.png");
}

QString confirmButtonStyle(const QString& rgb, const QString& folder, const QString& image, const QString& pressedImage)
{
    return QStringLiteral("QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(") +
           rgb + QStringLiteral(";);border-image: ") + styleSheetUrl(folder + image) +
           QStringLiteral(";}QToolButton:pressed{border-image: ") + styleSheetUrl(folder + pressedImage) + QStringLiteral("; }");
}

QString comboBoxStyle(const QString& folder)
{
    const QString text = skinColor(QStringLiteral("ComboxTextColor"));
    const QString select = skinColor(QStringLiteral("ComboxSelectColor"));
    const QString background = skinColor(QStringLiteral("ComboxBackGroundColor"));
    const auto picture = [&folder](const char* file) { return styleSheetUrl(folder + QLatin1String(file)); };
    return "QComboBox{border: 1px solid gray; color: rgb(" + text + "); border-image: " + picture("ComboboxBack.png") + ";}"
           "QComboBox:disabled{color: black;}"
           "QComboBox::drop-down:button{border-radius:5px; background:rgb(" + background + ");} "
           "QComboBox::down-arrow{image: " + picture("Menu.png") + "; right: 8px; }"
           "QComboBox::down-arrow:on{ image: " + picture("MenuClicked.png") + ";}"
           "QComboBox QAbstractItemView::item{height:25px;}"
           "QComboBox QAbstractItemView {outline: 0px solid gray; border: 1px  solid gray;color: rgb(" + text +
           "); border-image: " + picture("ComboboxTextBack.png") + ";selection-background-color: rgb(" + select + "); }";
}

QString comboListStyle()
{
    const QString select = skinColor(QStringLiteral("ComboxSelectColor"));
    // A slim bar like the pages' own, for lists with more entries than visible rows.
    return "QListView::item:selected{background-color: rgb(" + select + ");}QListView::item:hover{background-color: rgb(" +
           select + ");}"
           "QScrollBar:vertical{width:8px; background:rgb(30,30,30); border:0px; margin:0px;}"
           "QScrollBar::handle:vertical{background:rgb(117,117,117); border-radius:3px; min-height:20px; margin:0px 1px;}"
           "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical{height:0px; border:0px; background:transparent;}"
           "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical{background:transparent;}";
}
