#include "pages/macro/KeyEntryDialog.h"

#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

DialogLayout KeyEntryDialog::layoutOf(const Setup& setup)
{
    DialogLayout layout;
    layout.frameName = setup.frameName;
    layout.section = setup.section;
    layout.elements = QStringList{QStringLiteral("label"), QStringLiteral("NewHong"), QStringLiteral("NewHong_2")} +
                      setup.moreElements;
    layout.label = setup.label;
    layout.labelText = setup.labelText;
    layout.labelAlignment = Qt::AlignCenter;
    layout.buttons = {{QStringLiteral("NewHong"), QRect(setup.confirmX, 110, 90, 24), setup.confirmText},
                      {QStringLiteral("NewHong_2"), QRect(setup.cancelX, 110, 90, 24), QStringLiteral("取消")}};
    return layout;
}

void KeyEntryDialog::styleEntry(QWidget* entry) const
{
    const QString color = QStringLiteral("color: rgb(") + skinColor(QStringLiteral("LinEditColor")) + QStringLiteral(");");
    const QString selector = entry->inherits("QLineEdit") ? QStringLiteral("QLineEdit") : QStringLiteral("QAbstractSpinBox");
    entry->setStyleSheet(selector + QStringLiteral("{background: rgb(24,27,33);border: 1px solid rgb(110,110,110);") +
                         color + QStringLiteral("}"));
    // A spin box's own text field would otherwise paint the default white field over it.
    for (QLineEdit* inner : entry->findChildren<QLineEdit*>())
        inner->setStyleSheet(QStringLiteral("background: transparent;border: 0px;") + color);
}

void KeyEntryDialog::styleLabel(QLabel* label) const
{
    label->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
}

void KeyEntryDialog::styleCheckBox(QCheckBox* box) const
{
    const QString folder = pictureFolder(QStringLiteral("WarningDialog"));
    box->setStyleSheet(QStringLiteral("QCheckBox{color: rgb(") + skinColor(QStringLiteral("LabelColor")) +
                       QStringLiteral(");}QCheckBox::indicator:checked{image: ") +
                       styleSheetUrl(folder + QStringLiteral("CheckBoxCheck.png")) +
                       QStringLiteral(";}QCheckBox::indicator:unchecked{image: ") +
                       styleSheetUrl(folder + QStringLiteral("CheckBox.png")) + QStringLiteral(";}"));
}

void KeyEntryDialog::keepFocusOn(QWidget* entry)
{
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child != entry)
            child->setFocusPolicy(Qt::NoFocus);
    }
    entry->setFocus();
}
