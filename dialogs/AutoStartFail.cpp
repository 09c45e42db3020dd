#include "dialogs/AutoStartFail.h"

namespace {
DialogLayout autoStartFailLayout()
{
    DialogLayout setup;
    setup.frameName = QStringLiteral("AutoStartFailA");
    setup.section = QStringLiteral("AutoStartFail");
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("NewHong")};
    setup.label = QRect(0, 25, 301, 81);
    setup.labelText = QStringLiteral("Start with the system could not be changed");
    setup.labelPointSize = 10;
    setup.buttons = {{QStringLiteral("NewHong"), QRect(100, 110, 90, 24), QStringLiteral("确定")}};
    return setup;
}
}  // namespace

AutoStartFail::AutoStartFail(QWidget* parent)
    : DialogFrame(autoStartFailLayout(), parent)
{
    finishSetup();
}

void AutoStartFail::on_CloseButton_clicked()
{
    close();
}

void AutoStartFail::on_NewHong_clicked()
{
    close();
}
