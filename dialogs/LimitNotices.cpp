// The one-message limit notices; every button only closes the notice.
#include "dialogs/GroupMaxThree.h"
#include "dialogs/KeyNumberLimit.h"
#include "dialogs/LeftButtonOnly.h"
#include "dialogs/LessThree.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/SameMacro.h"

namespace {
DialogLayout limitLayout(const QString& frame, const QString& section, const QRect& label, const QString& text,
                     int confirmX = 100)
{
    DialogLayout setup;
    setup.frameName = frame;
    setup.section = section;
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("NewHong")};
    setup.label = label;
    setup.labelText = text;
    if (confirmX < 0)
        setup.elements.removeAll(QStringLiteral("NewHong"));
    else
        setup.buttons = {{QStringLiteral("NewHong"), QRect(confirmX, 110, 90, 24), QStringLiteral("确定")}};
    return setup;
}

DialogLayout lessThreeLayout()
{
    DialogLayout setup = limitLayout(QStringLiteral("LessThreeframe"), QStringLiteral("LessThree"), QRect(12, 30, 281, 81),
                                QStringLiteral("Please wait, we are updating the setting"));
    setup.labelPointSize = 8;
    return setup;
}
}  // namespace

LeftButtonOnly::LeftButtonOnly(QWidget* parent)
    : DialogFrame(limitLayout(QStringLiteral("ButtonOnly"), QStringLiteral("ButtonOnly"), QRect(0, 19, 301, 91),
                            QStringLiteral("Left button must be retained"), -1),
                  parent)
{
    finishSetup();
}

void LeftButtonOnly::on_CloseButton_clicked()
{
    close();
}

MakeMacro::MakeMacro(QWidget* parent)
    : DialogFrame(limitLayout(QStringLiteral("MakeMacroA"), QStringLiteral("MakeMacro"), QRect(6, 29, 291, 71),
                            QStringLiteral("Please create a macro first")),
                  parent)
{
    finishSetup();
}

void MakeMacro::on_CloseButton_clicked()
{
    close();
}

void MakeMacro::on_NewHong_clicked()
{
    close();
}

SameMacro::SameMacro(QWidget* parent)
    : DialogFrame(limitLayout(QStringLiteral("SameMacroA"), QStringLiteral("SameMacro"), QRect(0, 30, 301, 71),
                            QStringLiteral("Already have a same name macro")),
                  parent)
{
    finishSetup();
}

void SameMacro::on_NewHong_clicked()
{
    close();
}

void SameMacro::on_CloseButton_clicked()
{
    close();
}

GroupMaxThree::GroupMaxThree(QWidget* parent)
    : DialogFrame(limitLayout(QStringLiteral("MaxThree"), QStringLiteral("MaxThree"), QRect(0, 30, 301, 71),
                            QStringLiteral("  Key can only have up to three buttons"), 105),
                  parent)
{
    finishSetup();
}

void GroupMaxThree::on_NewHong_clicked()
{
    close();
}

void GroupMaxThree::on_CloseButton_clicked()
{
    close();
}

KeyNumberLimit::KeyNumberLimit(QWidget* parent)
    : DialogFrame(limitLayout(QStringLiteral("LimitA"), QStringLiteral("Limit"), QRect(0, 30, 301, 71),
                            QStringLiteral("Macro Key reached the Max limit")),
                  parent)
{
    finishSetup();
}

void KeyNumberLimit::on_CloseButton_clicked()
{
    close();
}

void KeyNumberLimit::on_NewHong_clicked()
{
    close();
}

LessThree::LessThree(QWidget* parent)
    : DialogFrame(lessThreeLayout(), parent)
{
    confirmWithReturn(button(QStringLiteral("NewHong")));
    finishSetup();
}

void LessThree::on_NewHong_clicked()
{
    close();
}

void LessThree::on_CloseButton_clicked()
{
    close();
}
