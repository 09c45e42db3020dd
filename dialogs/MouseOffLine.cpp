#include "dialogs/MouseOffLine.h"

#include "common/PostMsg.h"
#include "device/SharedFlags.h"

#include <QLabel>

namespace {
DialogLayout offlineLayout()
{
    DialogLayout setup;
    setup.frameName = QStringLiteral("MouseOffLineA");
    setup.section = QStringLiteral("MouseOffLine");
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("Timeout"), QStringLiteral("NewHong")};
    setup.closeButton = QRect(275, 3, 20, 20);
    setup.label = QRect(0, 20, 301, 71);
    setup.labelText = QStringLiteral("   The mouse is offline. Please move first");
    setup.buttons = {{QStringLiteral("NewHong"), QRect(100, 100, 90, 24), QStringLiteral("确认")}};
    setup.confirmImage = QStringLiteral("ConFirm.png");
    setup.confirmPressedImage = QStringLiteral("ConFirmClick.png");
    return setup;
}
}  // namespace

MouseOffLine::MouseOffLine(QWidget* parent)
    : DialogFrame(offlineLayout(), parent)
{
    connect(PostMsg::instance(), &PostMsg::SigCloseOffOnline, this, &MouseOffLine::on_CloseButton_clicked);
    finishSetup();
}

void MouseOffLine::applyText(const QString& element, const QString& text)
{
    const int which = OfflineTextIndex.load();
    if (element == QLatin1String("label")) {
        if (which == 0)
            label()->setText(text);
    } else if (element == QLatin1String("Timeout")) {
        if (which == 1)
            label()->setText(text);
    } else {
        DialogFrame::applyText(element, text);
    }
}

void MouseOffLine::on_CloseButton_clicked()
{
    close();
}

void MouseOffLine::on_NewHong_clicked()
{
    close();
}
