// The one-button notices of start-up and of the profile import and export.
#include "dialogs/ExeIsRun.h"
#include "dialogs/ExportFail.h"
#include "dialogs/InportFail.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/UserFolderFail.h"

#include "device/SharedFlags.h"

#include <QLabel>

namespace {
const QRect NoticeLabel(0, 30, 301, 71);
const DialogLayout::Button ConfirmButton{QStringLiteral("NewHong"), QRect(100, 110, 90, 24), QStringLiteral("确定")};

DialogLayout exeIsRunLayout()
{
    DialogLayout setup;
    setup.frameName = QStringLiteral("DeleteConfirmA");
    setup.section = QStringLiteral("EXEIsRun");
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("NewHong"), QStringLiteral("label_2"),
                                QStringLiteral("PleaseStop")};
    setup.label = NoticeLabel;
    setup.labelText = QStringLiteral("Confirm Delete");
    setup.buttons = {ConfirmButton};
    return setup;
}

DialogLayout inportFailLayout()
{
    DialogLayout setup;
    setup.frameName = QStringLiteral("InportFailA");
    setup.section = QStringLiteral("InportFail");
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("label_1"), QStringLiteral("NewHong")};
    setup.label = NoticeLabel;
    setup.labelText = QStringLiteral("Config does not match the device");
    setup.buttons = {ConfirmButton};
    return setup;
}

DialogLayout exportFailLayout()
{
    DialogLayout setup = inportFailLayout();
    setup.frameName = QStringLiteral("ExportFailA");
    setup.section = QStringLiteral("ExportFail");
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("NewHong")};
    setup.labelText = QStringLiteral("The profile could not be saved");
    return setup;
}

DialogLayout userFolderFailLayout()
{
    DialogLayout setup = inportFailLayout();
    setup.frameName = QStringLiteral("UserFolderFailA");
    setup.section = QStringLiteral("UserFolderFail");
    setup.elements = QStringList{QStringLiteral("label"), QStringLiteral("NewHong")};
    setup.label = QRect(0, 25, 301, 81);
    setup.labelPointSize = 10;
    setup.labelText = QStringLiteral("The user data folder cannot be written");
    return setup;
}

DialogLayout questionBLayout()
{
    DialogLayout setup;
    setup.frameName = QStringLiteral("QuestionB");
    setup.section = QStringLiteral("QuestionB");
    setup.elements = QStringList{QStringLiteral("label")};
    setup.label = QRect(0, 30, 301, 60);
    setup.labelText = QStringLiteral("  Do not insert multiple identical devices");
    return setup;
}
}  // namespace

ExeIsRun::ExeIsRun(QWidget* parent)
    : DialogFrame(exeIsRunLayout(), parent)
{
    finishSetup();
}

void ExeIsRun::applyText(const QString& element, const QString& text)
{
    if (element == QLatin1String("label_2"))
        m_label2Text = text;
    else if (element == QLatin1String("PleaseStop"))
        m_pleaseStopText = text;
    else
        DialogFrame::applyText(element, text);
}

void ExeIsRun::SetLabel2Text()
{
    label()->setText(m_label2Text);
}

void ExeIsRun::SetPleaseStopText()
{
    label()->setText(m_pleaseStopText);
}

void ExeIsRun::on_CloseButton_clicked()
{
    close();
}

void ExeIsRun::on_NewHong_clicked()
{
    close();
}

InportFail::InportFail(QWidget* parent)
    : DialogFrame(inportFailLayout(), parent)
{
    finishSetup();
}

InportFail::InportFail(int resultText, QWidget* parent)
    : DialogFrame(inportFailLayout(), parent)
    , m_resultText(resultText)
{
    finishSetup();
}

void InportFail::applyText(const QString& element, const QString& text)
{
    const int result = m_resultText >= 0 ? m_resultText : ImportResult.load();
    if (element == QLatin1String("label")) {
        if (result == 1)
            label()->setText(text);
    } else if (element == QLatin1String("label_1")) {
        if (result == 2)
            label()->setText(text);
    } else {
        DialogFrame::applyText(element, text);
    }
}

void InportFail::on_CloseButton_clicked()
{
    close();
}

void InportFail::on_NewHong_clicked()
{
    close();
}

ExportFail::ExportFail(QWidget* parent)
    : DialogFrame(exportFailLayout(), parent)
{
    finishSetup();
}

void ExportFail::on_CloseButton_clicked()
{
    close();
}

void ExportFail::on_NewHong_clicked()
{
    close();
}

UserFolderFail::UserFolderFail(QWidget* parent)
    : DialogFrame(userFolderFailLayout(), parent)
{
    finishSetup();
}

void UserFolderFail::on_CloseButton_clicked()
{
    close();
}

void UserFolderFail::on_NewHong_clicked()
{
    close();
}

QuestiondialogB::QuestiondialogB(QWidget* parent)
    : DialogFrame(questionBLayout(), parent)
{
    finishSetup();
}

void QuestiondialogB::on_CloseButton_clicked()
{
    close();
}
