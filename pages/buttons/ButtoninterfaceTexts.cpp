// The page's texts: the section "Buttoninterface" of the current language file, the
// function-type buttons' font per language, and the selectors redrawn after a change.
#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"

#include "common/CheckedFile.h"
#include "common/LanguageFile.h"
#include "common/UserConfig.h"
#include "device/DeviceCache.h"
#include "device/SharedFlags.h"
#include "device/WorkingImage.h"
#include "pages/buttons/SelectorTable.h"


namespace {

// Elements that set the text of the widget of the same name.
const QStringList& widgetElements()
{
    static const QStringList names{
        QStringLiteral("Reset"), QStringLiteral("ImportData"), QStringLiteral("OutputData"),
        QStringLiteral("FireKey"), QStringLiteral("RightKey"), QStringLiteral("BackKey"),
        QStringLiteral("StartPause"), QStringLiteral("TopMusic"), QStringLiteral("BackMusic"),
        QStringLiteral("LeftKey_3"), QStringLiteral("RightKey_3"), QStringLiteral("MidKey"),
        QStringLiteral("BackKey_2"), QStringLiteral("ForWardKey"), QStringLiteral("DPI_2"),
        QStringLiteral("DPI_3"), QStringLiteral("DPI_6"), QStringLiteral("DPI_8"), QStringLiteral("DPI_5"),
        QStringLiteral("DPI_13"), QStringLiteral("DPI_11"), QStringLiteral("DPI_10"), QStringLiteral("DPI_9"),
        QStringLiteral("DPI_7"), QStringLiteral("DPI_12"), QStringLiteral("DPI_4"),
        QStringLiteral("Player"), QStringLiteral("StartPause_2"), QStringLiteral("BackMusic_2"),
        QStringLiteral("TopMusic_2"), QStringLiteral("Mute"), QStringLiteral("VolumeUp"),
        QStringLiteral("VolumeDown"), QStringLiteral("VolumeDown_4"), QStringLiteral("VolumeDown_5"),
        QStringLiteral("VolumeDown_6"), QStringLiteral("VolumeDown_3"), QStringLiteral("VolumeDown_8"),
        QStringLiteral("VolumeDown_9"), QStringLiteral("VolumeDown_7"), QStringLiteral("VolumeDown_10"),
        QStringLiteral("VolumeDown_12"), QStringLiteral("VolumeDown_13"), QStringLiteral("VolumeDown_11"),
        QStringLiteral("VolumeUp_4"), QStringLiteral("VolumeUp_5"), QStringLiteral("VolumeUp_7"),
        QStringLiteral("VolumeUp_2"), QStringLiteral("VolumeDown_2"), QStringLiteral("VolumeUp_8"),
        QStringLiteral("VolumeUp_14"), QStringLiteral("VolumeDown_14")};
    return names;
}

// Every element the page reads from its section.
const QStringList& sectionElements()
{
    static const QStringList names = [] {
        QStringList all = widgetElements();
        all << QStringLiteral("checkBox") << QStringLiteral("Macro_") << QStringLiteral("Config");
        for (int n = 1; n <= 20; ++n)
            all << QStringLiteral("S%1").arg(n);
        return all;
    }();
    return names;
}

// Point size of the function-type buttons by language index; any other index is English.
int functionFontSize(int index)
{
    static const int sizes[] = {9, 8, 6, 9, 8, 9};
    return (index >= 0 && index < 6) ? sizes[index] : 9;
}

const char* const NotALabelsFile = "Not a labels file";

}  // namespace

void Buttoninterface::SlotChangeLanguage(int index)
{
    InitLanguage(0, index);
}

void Buttoninterface::InitLanguage(int firstLoad, int index)
{
    // The font comes first: it holds even when the file is missing.
    QFont font(QStringLiteral("微软雅黑"));
    font.setPointSize(functionFontSize(index));
    for (QToolButton* button : functionTypeButtons())
        button->setFont(font);

    if (!CheckedFile::check(languageFilePath(index), MaxLanguageFileSize).ok()
        && !CheckedFile::check(languageFilePath(0), MaxLanguageFileSize).ok())
        return;
    const QString error = loadLanguageSection(index, QStringLiteral("Buttoninterface"), sectionElements(),
                                              [this](const QString& element, const QString& text) {
                                                  applyLanguageText(element, text);
                                              });
    if (error.endsWith(QLatin1String(NotALabelsFile)))
        return;
    if (!firstLoad)
        redrawAfterLanguageChange();
    relabelProfiles();
}

void Buttoninterface::applyLanguageText(const QString& element, const QString& text)
{
    if (element == QLatin1String("Macro_")) {
        MacroPrefixText = text;
    } else if (element == QLatin1String("Config")) {
        ProfileItemPrefix = text;
    } else if (element == QLatin1String("checkBox")) {
        ui->label_3->setText(text);
    } else if (element.startsWith(QLatin1Char('S')) && !widgetElements().contains(element)) {
        setDebounceSuffix(element.mid(1).toInt(), text);
    } else {
        setWidgetText(this, element, text);
        // The seventh key is named by the light-effect cycle until a fill names its binding.
        if (element == QLatin1String("VolumeUp_7"))
            ui->Button7->setText(text);
        if (element == QLatin1String("ImportData") || element == QLatin1String("OutputData")) {
            // Only the Japanese texts are long enough to be cut on their buttons.
            auto* button = findChild<QToolButton*>(element);
            button->setToolTip(currentLanguageIndex() == 5 ? text : QString());
        }
    }
}

// The selectors follow the new language, from this mouse's configuration: the working image
// when it holds it, else the mouse's cache file; otherwise they keep their texts. Only the names
// change: the macro files and the Macro page's list and choice stay as they are.
void Buttoninterface::redrawAfterLanguageChange()
{
    FlashDataMap image{};
    if (WorkingImageLoaded())
        image = WorkingImageCopy();
    else if (!ReadDeviceInfoFile(ChosenCacheName(), &image))
        return;
    loadBindings(image, false);
}
