#include "dialogs/MouseOffLine.h"

#include "common/PostMsg.h"
#include "device/SharedFlags.h"

#include <QLabel>

namespace {
DialogSpec offlineSpec()
{
    DialogSpec spec;
    spec.frameName = QStringLiteral("MouseOffLineA");
    spec.section = QStringLiteral("MouseOffLine");
    spec.elements = QStringList{QStringLiteral("label"), QStringLiteral("Timeout"), QStringLiteral("NewHong")};
    spec.closeButton = QRect(275, 3, 20, 20);
    spec.label = QRect(0, 20, 301, 71);
    spec.labelText = QStringLiteral("   The mouse is offline. Please move first");
    spec.buttons = {{QStringLiteral("NewHong"), QRect(100, 100, 90, 24), QStringLiteral("确认")}};
    spec.confirmImage = QStringLiteral("ConFirm.png");
    spec.confirmPressedImage = QStringLiteral("ConFirmClick.png");
    return spec;
}
}  // namespace

MouseOffLine::MouseOffLine(QWidget* parent)
    : DialogFrame(offlineSpec(), parent)
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
