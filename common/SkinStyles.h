#pragma once
#include <QString>
#include <QStringList>

// Skin colours come from the catalogue group "Option" as three numbers red, green, blue.
// These build the "r,g,b" text that stands inside "rgb(...)" of a style sheet.

// "r,g,b" from a list of three numbers. Missing or non-numeric parts fall back to 255 and every
// part is clamped to 0..255, so a short or broken catalogue entry never breaks a style sheet.
QString rgbText(const QStringList& numbers);

// "r,g,b" of the colour key `key` of the catalogue group "Option" (for example "LabelColor").
QString skinColor(const QString& key);

// The picture folder of a window: "<program folder>/Picture/<name>/", with the trailing slash.
QString pictureFolder(const QString& name);

// Style sheet templates shared by the dialogs and windows. `folder` ends with a slash.
QString labelColorStyle(const QString& rgb);
QString backgroundStyle(const QString& frameName, const QString& folder);
// The same picture stretched over the whole frame as a border image.
QString stretchedBackgroundStyle(const QString& frameName, const QString& folder);
// A picture tool button with a normal, a hover and a pressed picture, file names in `folder`.
QString plainButtonStyle(const QString& folder, const char* normal, const char* hover, const char* pressed);
// The plain button of "Close.png", "CloseHover.png" and "CloseClick.png".
QString closeButtonStyle(const QString& folder);
// The skinned drop-down list: "ComboboxBack.png", the arrows "Menu.png" and "MenuClicked.png"
// and the pop-up "ComboboxTextBack.png" from `folder`, in the catalogue's combo-box colours.
QString comboBoxStyle(const QString& folder);
// Its pop-up list view: selected and hovered items in "ComboxSelectColor".
QString comboListStyle();
QString confirmButtonStyle(const QString& rgb, const QString& folder, const QString& image, const QString& pressedImage);
