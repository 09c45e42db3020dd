// The confirmation dialogs and the caller-worded warning.
#include "dialogs/ContainReset.h"
#include "dialogs/DeleteConfirm.h"
#include "dialogs/RePair.h"
#include "dialogs/UpDateWarning.h"

#include <QLabel>
#include <QToolButton>

namespace {
DialogLayout twoButtonLayout(const QString& frame, const QString& section, const QRect& label, const QString& text,
                         int cancelX)
{
    DialogLayout setup;
    setup.frameName = frame;
    setup.section = section;
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("OK"), QStringLiteral("Cancel")};
    setup.label = label;
    setup.labelText = text;
    setup.buttons = {{QStringLiteral("OK"), QRect(40, 110, 90, 24), QStringLiteral("确定")},
                    {QStringLiteral("Cancel"), QRect(cancelX, 110, 90, 24), QStringLiteral("取消")}};
    return setup;
}

DialogLayout oneButtonLayout(const QString& frame, const QString& section, const QStringList& elements)
{
    DialogLayout setup;
    setup.frameName = frame;
    setup.section = section;
    setup.elements = elements;
    setup.label = QRect(5, 30, 291, 71);
    setup.labelText = QStringLiteral("Confirm Delete");
    setup.buttons = {{QStringLiteral("NewHong"), QRect(100, 110, 90, 24), QStringLiteral("确定")}};
    return setup;
}
}  // namespace

ContainReset::ContainReset(QWidget* parent)
    : DialogFrame(twoButtonLayout(QStringLiteral("ContainResetA"), QStringLiteral("ContainReset"), QRect(10, 30, 281, 71),
                                QStringLiteral(" Is need to restore the default settings"), 170),
                  parent)
{
    confirmWithReturn(button(QStringLiteral("OK")));
    finishSetup();
}

void ContainReset::setText(QString text)
{
    label()->setText(text);
}

void ContainReset::on_CloseButton_clicked()
{
    Accepted = false;
    close();
}

void ContainReset::on_OK_clicked()
{
    Accepted = true;
    close();
}

void ContainReset::on_Cancel_clicked()
{
    Accepted = false;
    close();
}

RePair::RePair(QWidget* parent)
    : DialogFrame(twoButtonLayout(QStringLiteral("RePairA"), QStringLiteral("RePair"), QRect(0, 30, 301, 71),
                                QStringLiteral("        Do you need to pair again"), 180),
                  parent)
{
    finishSetup();
}

void RePair::on_CloseButton_clicked()
{
    Accepted = false;
    close();
}

void RePair::on_OK_clicked()
{
    Accepted = true;
    close();
}

void RePair::on_Cancel_clicked()
{
    Accepted = false;
    close();
}

DeleteConfirm::DeleteConfirm(QWidget* parent)
    : DialogFrame(oneButtonLayout(QStringLiteral("DeleteConfirmA"), QStringLiteral("DeleteConfirm"),
                                QStringList{QStringLiteral("label"), QStringLiteral("NewHong")}),
                  parent)
{
    finishSetup();
}

void DeleteConfirm::on_NewHong_clicked()
{
    Accepted = true;
    close();
}

void DeleteConfirm::on_CloseButton_clicked()
{
    Accepted = false;
    close();
}

UpDateWarning::UpDateWarning(QWidget* parent)
    : DialogFrame(oneButtonLayout(QStringLiteral("WarningFrame"), QStringLiteral("NewVer"),
                                QStringList{QStringLiteral("NewHong")}),
                  parent)
{
    confirmWithReturn(button(QStringLiteral("NewHong")));
    finishSetup();
}

void UpDateWarning::SetText(QString text)
{
    label()->setText(text);
}

void UpDateWarning::on_CloseButton_clicked()
{
    close();
}

void UpDateWarning::on_NewHong_clicked()
{
    close();
}
