#include "PictureTable.h"
#include "Backgrounds.h"
#include "ButtonPageArt.h"
#include "ButtonPageMouse.h"
#include "Icons.h"
#include "LightPageArt.h"
#include "MacroPageArt.h"
#include "MouseArt.h"

namespace {
using Style::Look;

struct TableBuilder {
    std::vector<PictureEntry> entries;

    void add(const QString& file, QSize size, const QString& shows, std::function<void(QPainter&, QSize)> draw)
    {
        entries.push_back({file, size, shows, std::move(draw)});
    }

    // Three looks of one glyph: normal, hover and pressed or checked.
    void looks(const QString& folder, const QString& base, const QString& activeSuffix, QSize size,
        const QString& shows, std::function<void(QPainter&, QSize, Look)> draw)
    {
        add(folder + base + ".png", size, shows, [draw](QPainter& p, QSize s) { draw(p, s, Look::Normal); });
        add(folder + base + "Hover.png", size, shows + " (mouse over)",
            [draw](QPainter& p, QSize s) { draw(p, s, Look::Hover); });
        add(folder + base + activeSuffix + ".png", size, shows + " (" + activeSuffix.toLower() + ")",
            [draw](QPainter& p, QSize s) { draw(p, s, Look::Active); });
    }

    void windowButtons(const QString& folder)
    {
        looks(folder, "Close", "Click", QSize(20, 20), "close button", Icons::close);
        looks(folder, "Min", "Click", QSize(20, 20), "minimise button", Icons::minimise);
    }

    void comboSkin(const QString& folder, QSize box)
    {
        add(folder + "ComboboxBack.png", box, "drop-down list field", Icons::comboBack);
        add(folder + "ComboboxTextBack.png", QSize(box.width(), 150), "drop-down list pop-up", Icons::comboPopup);
        add(folder + "Menu.png", QSize(12, 12), "drop-down arrow",
            [](QPainter& p, QSize s) { Icons::comboArrow(p, s, false); });
        add(folder + "MenuClicked.png", QSize(12, 12), "drop-down arrow, list open",
            [](QPainter& p, QSize s) { Icons::comboArrow(p, s, true); });
    }
};

void warningDialog(TableBuilder& t)
{
    const QString d = "WarningDialog/";
    t.add(d + "BackGround.png", QSize(300, 140), "notice dialog surface", Backgrounds::dialog);
    t.looks(d, "Close", "Click", QSize(20, 20), "close button", Icons::close);
    // Both spellings are used by the dialogs; they show the same button.
    for (const QString& name : {QStringLiteral("Confirm"), QStringLiteral("ConFirm")}) {
        t.add(d + name + ".png", QSize(90, 24), "confirm button",
            [](QPainter& p, QSize s) { Icons::textButton(p, s, Look::Normal); });
        t.add(d + name + "Click.png", QSize(90, 24), "confirm button (pressed)",
            [](QPainter& p, QSize s) { Icons::textButton(p, s, Look::Active); });
    }
    // The modifier boxes of the key-combination dialog.
    t.add(d + "CheckBox.png", QSize(16, 16), "check box", [](QPainter& p, QSize s) { Icons::checkBox(p, s, false); });
    t.add(d + "CheckBoxCheck.png", QSize(16, 16), "check box (ticked)",
        [](QPainter& p, QSize s) { Icons::checkBox(p, s, true); });
}

void configurationFrame(TableBuilder& t)
{
    const QString d = "Dialog/";
    t.add(d + "BackGround.png", QSize(1020, 700), "configuration frame with five page buttons",
        [](QPainter& p, QSize s) { Backgrounds::frame(p, s, 5); });
    t.add(d + "BackGround2.png", QSize(1020, 700), "configuration frame without the lighting page",
        [](QPainter& p, QSize s) { Backgrounds::frame(p, s, 4); });
    t.add(d + "Logo.png", QSize(64, 64), "program logo for the tray", Icons::logo);
    const struct {
        const char* base;
        const char* active;
        const char* glyph;
        const char* shows;
    } pages[] = {{"Home", "Checked", "mouse", "button page"}, {"Sensor", "Checked", "sensor", "sensor page"},
        {"Macro", "Checked", "macro", "macro page"}, {"Light", "Checked", "light", "lighting page"},
        {"Setting", "Click", "gear", "settings page"}};
    for (const auto& page : pages) {
        const QString glyph = QString::fromLatin1(page.glyph);
        t.looks(d, page.base, page.active, QSize(30, 30), page.shows,
            [glyph](QPainter& p, QSize s, Look look) { Icons::pageButton(p, s, glyph, look); });
    }
    t.windowButtons(d);
    t.looks(d, "PageChange", "Click", QSize(34, 30), "back to the device choice", Icons::backArrow);
    t.add(d + "Battery.png", QSize(43, 20), "battery outline", Icons::battery);
    t.add(d + "Charg.png", QSize(17, 7), "charging sign", Icons::chargeBolt);
}

void choicePage(TableBuilder& t)
{
    const QString d = "DialogChange/";
    t.add(d + "MainBack.png", QSize(1020, 700), "device-choice page", Backgrounds::choicePage);
    t.windowButtons(d);
    t.add(d + "Repair.png", QSize(36, 33), "repair after a failed update", Icons::repair);
    for (bool right : {false, true}) {
        const QString base = right ? "Right" : "Left";
        t.add(d + base + ".png", QSize(46, 46), "page arrow",
            [right](QPainter& p, QSize s) { Icons::pageArrow(p, s, right, Look::Normal); });
        t.add(d + base + "Click.png", QSize(46, 46), "page arrow (mouse over)",
            [right](QPainter& p, QSize s) { Icons::pageArrow(p, s, right, Look::Active); });
    }
    t.comboSkin(d, QSize(142, 26));
    for (int k = 0; k < MouseArt::modelCount(); ++k) {
        const QString name = MouseArt::modelName(k);
        t.add(d + QString("OnLine%1.png").arg(k), QSize(284, 360), "mouse " + name + " online",
            [k](QPainter& p, QSize s) { MouseArt::tile(p, s, k, true); });
        t.add(d + QString("DisOnlin%1.png").arg(k), QSize(284, 360), "mouse " + name + " offline",
            [k](QPainter& p, QSize s) { MouseArt::tile(p, s, k, false); });
    }
    t.add(d + "Unknow.png", QSize(284, 360), "device of no known model", MouseArt::unknownTile);
    const struct {
        const char* file;
        const char* text;
        int strength;
    } badges[] = {{"1KHz.png", "1KHz", 0}, {"2KHz.png", "2KHz", 1}, {"4KHz.png", "4KHz", 2}, {"8KHz.png", "8KHz", 3}};
    for (const auto& badge : badges) {
        const QString text = QString::fromLatin1(badge.text);
        const int strength = badge.strength;
        t.add(d + badge.file, QSize(42, 26), "highest report rate " + text,
            [text, strength](QPainter& p, QSize s) { Icons::rateBadge(p, s, text, strength); });
    }
    t.add(d + "OnLineUsb.png", QSize(32, 32), "connected by cable",
        [](QPainter& p, QSize s) { Icons::connectionMark(p, s, true); });
    t.add(d + "OnLineWifi.png", QSize(32, 32), "connected through a receiver",
        [](QPainter& p, QSize s) { Icons::connectionMark(p, s, false); });
    t.add(d + "DisOnline.png", QSize(32, 32), "mouse offline", Icons::offlineMark);
}

void sensorPage(TableBuilder& t)
{
    const QString d = "Sensor/";
    t.comboSkin(d, QSize(130, 30));
    t.add(d + "CheckBox.png", QSize(16, 16), "check box", [](QPainter& p, QSize s) { Icons::checkBox(p, s, false); });
    t.add(d + "CheckBoxChecked.png", QSize(16, 16), "check box (checked)",
        [](QPainter& p, QSize s) { Icons::checkBox(p, s, true); });
    t.add(d + "Title.png", QSize(16, 10), "section marker", Icons::sectionMark);
    t.add(d + "Level.png", QSize(30, 30), "current DPI level marker",
        [](QPainter& p, QSize s) { Icons::levelMarker(p, s, Look::Normal); });
    t.add(d + "LevelHover.png", QSize(30, 30), "current DPI level marker (mouse over)",
        [](QPainter& p, QSize s) { Icons::levelMarker(p, s, Look::Active); });
    t.add(d + "HuaKuai.png", QSize(5, 50), "slider handle", Icons::sliderHandle);
    t.add(d + "Reduce.png", QSize(14, 4), "step down", Icons::minus);
    t.add(d + "Add.png", QSize(14, 14), "step up", Icons::plus);
    t.add(d + "MinA.png", QSize(54, 56), "DPI level button",
        [](QPainter& p, QSize s) { Icons::levelButton(p, s, false); });
    t.add(d + "MaxA.png", QSize(68, 70), "DPI level button (chosen)",
        [](QPainter& p, QSize s) { Icons::levelButton(p, s, true); });
    t.add(d + "MinB.png", QSize(50, 12), "DPI colour swatch gloss",
        [](QPainter& p, QSize s) { Icons::swatchOverlay(p, s, false); });
    t.add(d + "MaxB.png", QSize(66, 14), "DPI colour swatch gloss (chosen)",
        [](QPainter& p, QSize s) { Icons::swatchOverlay(p, s, true); });
    t.add(d + "ReportRate.png", QSize(74, 26), "report rate button",
        [](QPainter& p, QSize s) { Icons::textButton(p, s, Look::Normal); });
    t.add(d + "ReportRateClick.png", QSize(74, 26), "report rate button (chosen)",
        [](QPainter& p, QSize s) { Icons::textButton(p, s, Look::Active); });
    t.add(d + "Close.png", QSize(36, 18), "switch off", [](QPainter& p, QSize s) { Icons::toggle(p, s, false); });
    t.add(d + "Open.png", QSize(36, 18), "switch on", [](QPainter& p, QSize s) { Icons::toggle(p, s, true); });
}

void buttonPage(TableBuilder& t)
{
    const QString d = "Buttoninterface/";
    using ButtonPageArt::bar;
    t.add(d + "CMenuTitle.png", QSize(174, 22), "function button", [](QPainter& p, QSize s) { bar(p, s, false); });
    t.add(d + "CMenuTitleChecked.png", QSize(174, 22), "function button (chosen)",
        [](QPainter& p, QSize s) { bar(p, s, true); });
    t.add(d + "AMenuTitle.png", QSize(262, 26), "key selector", [](QPainter& p, QSize s) { bar(p, s, false); });
    t.add(d + "AMenuTitleChecked.png", QSize(262, 26), "key selector (chosen)",
        [](QPainter& p, QSize s) { bar(p, s, true); });
    t.add(d + "BMenuTitle.png", QSize(164, 22), "function type", [](QPainter& p, QSize s) { bar(p, s, false); });
    t.add(d + "BMenuTitleChecked.png", QSize(164, 22), "function type (chosen)",
        [](QPainter& p, QSize s) { bar(p, s, true); });
    t.add(d + "BMenuTitleB.png", QSize(164, 22), "function type with its own page",
        [](QPainter& p, QSize s) { bar(p, s, false, true); });
    t.add(d + "BMenuTitleCheckedB.png", QSize(164, 22), "function type with its own page (chosen)",
        [](QPainter& p, QSize s) { bar(p, s, true, true); });
    t.add(d + "LabelNumber.png", QSize(24, 24), "key number plate",
        [](QPainter& p, QSize s) { ButtonPageArt::numberPlate(p, s, Look::Normal); });
    const struct {
        const char* file;
        Look look;
        const char* shows;
    } markerLooks[] = {{"NumberOrigin.png", Look::Normal, "marker on the mouse picture"},
        {"NumberHover.png", Look::Hover, "marker (mouse over)"}, {"NumberClick.png", Look::Active, "marker (pressed)"}};
    for (const auto& marker : markerLooks) {
        const Look look = marker.look;
        t.add(d + marker.file, QSize(38, 38), marker.shows,
            [look](QPainter& p, QSize s) { ButtonPageArt::numberPlate(p, s, look); });
    }
    t.looks(d, "Reset", "Click", QSize(90, 26), "page button", Icons::textButton);
    t.add(d + "Config.png", QSize(20, 14), "onboard profiles", ButtonPageArt::profileIcon);
    t.add(d + "TiltleBack.png", QSize(860, 214), "key list and function area", ButtonPageArt::lowerPanel);
    for (int k = 0; k < MouseArt::modelCount(); ++k)
        t.add(d + QString("mouse%1.png").arg(k), ButtonPageMouse::pictureSize(),
            "mouse " + MouseArt::modelName(k) + " with its keys",
            [k](QPainter& p, QSize) { ButtonPageMouse::draw(p, k); });
}

void pairingDialog(TableBuilder& t)
{
    const QString d = "Setting/";
    t.add(d + "BackSecondPage.png", QSize(458, 242), "pairing dialog surface", Backgrounds::pairingDialog);
    t.add(d + "Picture.png", QSize(14, 14), "pairing hint mark", Icons::hintMark);
    t.looks(d, "CloseSecondPage", "Click", QSize(14, 14), "pairing dialog close button", Icons::close);
    const struct {
        const char* file;
        const char* shows;
        int outcome;
    } buttons[] = {{"Pair.png", "pair button", 0}, {"PairSuccess.png", "pair button, paired", 1},
        {"PairFail.png", "pair button, pairing failed", 2}};
    for (const auto& button : buttons) {
        const int outcome = button.outcome;
        t.add(d + button.file, QSize(154, 32), button.shows,
            [outcome](QPainter& p, QSize s) { Icons::pairButton(p, s, outcome); });
    }
}

void settingsPage(TableBuilder& t)
{
    const QString d = "FormSetting/";
    t.add(d + "Title.png", QSize(16, 10), "section marker", Icons::sectionMark);
    t.add(d + "Confirm.png", QSize(128, 26), "firmware update button",
        [](QPainter& p, QSize s) { Icons::textButton(p, s, Look::Normal); });
    t.add(d + "WaitUpdate.png", QSize(128, 26), "firmware update button, newer image waiting",
        [](QPainter& p, QSize s) { Icons::updateButton(p, s, Look::Normal); });
    t.add(d + "WaitUpdateHover.png", QSize(128, 26), "firmware update button, newer image waiting (mouse over)",
        [](QPainter& p, QSize s) { Icons::updateButton(p, s, Look::Active); });
    t.add(d + "PariButton.png", QSize(112, 26), "pair button",
        [](QPainter& p, QSize s) { Icons::textButton(p, s, Look::Normal); });
    t.add(d + "Mouse.png", QSize(14, 20), "desktop mouse settings link", Icons::mouseIcon);
    t.comboSkin(d, QSize(142, 30));
    t.add(d + "CheckBox.png", QSize(16, 16), "check box", [](QPainter& p, QSize s) { Icons::checkBox(p, s, false); });
    t.add(d + "CheckBoxChecked.png", QSize(16, 16), "check box (checked)",
        [](QPainter& p, QSize s) { Icons::checkBox(p, s, true); });
    t.add(d + "CheckBox2.png", QSize(16, 16), "receiver light choice",
        [](QPainter& p, QSize s) { Icons::checkBox(p, s, false); });
    t.add(d + "CheckBoxCheck.png", QSize(16, 16), "receiver light choice (chosen)",
        [](QPainter& p, QSize s) { Icons::checkBox(p, s, true); });
    t.add(d + "Picture.png", QSize(14, 14), "note beside an update button", Icons::hintMark);
}

}  // namespace

void macroPage(TableBuilder& t)
{
    const QString d = "Macro/";
    t.add(d + "MacroDown.png", QSize(16, 16), "key pressed row", MacroPageArt::pressMark);
    t.add(d + "MacroUp.png", QSize(16, 16), "key released row", MacroPageArt::releaseMark);
    t.add(d + "MacroTime.png", QSize(16, 16), "delay row", MacroPageArt::delayMark);
    t.add(d + "Up.png", QSize(20, 20), "scroll up", [](QPainter& p, QSize s) { MacroPageArt::scrollArrow(p, s, true); });
    t.add(d + "Down.png", QSize(20, 20), "scroll down", [](QPainter& p, QSize s) { MacroPageArt::scrollArrow(p, s, false); });
    t.comboSkin(d, QSize(212, 30));
    t.add(d + "CheckBox.png", QSize(16, 16), "check box", [](QPainter& p, QSize s) { Icons::checkBox(p, s, false); });
    t.add(d + "CheckBoxCheck.png", QSize(16, 16), "check box (checked)",
        [](QPainter& p, QSize s) { Icons::checkBox(p, s, true); });
    t.looks(d, "Button", "Click", QSize(145, 30), "page button", MacroPageArt::textButton);
    for (bool stop : {false, true}) {
        const QString base = stop ? "Stop" : "Record";
        const QString shows = stop ? "stop recording" : "start recording";
        t.add(d + base + ".png", QSize(275, 44), shows,
            [stop](QPainter& p, QSize s) { MacroPageArt::recordButton(p, s, stop, Look::Normal); });
        t.add(d + base + "Hover.png", QSize(275, 44), shows + " (mouse over)",
            [stop](QPainter& p, QSize s) { MacroPageArt::recordButton(p, s, stop, Look::Hover); });
    }
}

void lightPage(TableBuilder& t)
{
    const QString d = "Light/";
    // Drawn at the effect list's size; the narrower sleep-time list shares it.
    t.comboSkin(d, QSize(308, 34));
    t.add(d + "HuaKuai.png", QSize(5, 50), "slider handle", Icons::sliderHandle);
    t.add(d + "Close.png", QSize(36, 18), "switch off", [](QPainter& p, QSize s) { Icons::toggle(p, s, false); });
    t.add(d + "Open.png", QSize(36, 18), "switch on", [](QPainter& p, QSize s) { Icons::toggle(p, s, true); });
    t.add(d + "ColorBoard.png", QSize(308, 34), "colour board", LightPageArt::colorBoard);
    t.add(d + "Reduce.png", QSize(14, 4), "colour step down", Icons::minus);
    t.add(d + "Add.png", QSize(14, 14), "colour step up", Icons::plus);
    t.add(d + "PreviewColor.png", QSize(60, 60), "colour preview before the first colour", LightPageArt::previewPlaceholder);
    // The fourteen preset colours, as the page sets them.
    const struct {
        char letter;
        int red, green, blue;
    } presets[] = {{'A', 255, 0, 0}, {'B', 0, 255, 255}, {'C', 0, 255, 0}, {'D', 255, 0, 255}, {'E', 255, 255, 0},
        {'F', 255, 80, 0}, {'G', 0, 0, 255}, {'H', 227, 0, 127}, {'I', 46, 166, 223}, {'J', 96, 25, 133},
        {'K', 255, 255, 255}, {'L', 139, 178, 36}, {'M', 255, 155, 51}, {'N', 208, 113, 173}};
    for (const auto& preset : presets) {
        const QColor colour(preset.red, preset.green, preset.blue);
        t.add(d + "Color" + QLatin1Char(preset.letter) + ".png", QSize(28, 28), "preset colour " + colour.name(),
            [colour](QPainter& p, QSize s) { LightPageArt::presetSwatch(p, s, colour); });
    }
}

std::vector<PictureEntry> pictureTable()
{
    TableBuilder t;
    warningDialog(t);
    configurationFrame(t);
    choicePage(t);
    sensorPage(t);
    buttonPage(t);
    macroPage(t);
    lightPage(t);
    pairingDialog(t);
    settingsPage(t);
    // The debounce list on the button page.
    t.comboSkin("Buttoninterface/", QSize(141, 34));
    return t.entries;
}
