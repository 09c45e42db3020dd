// The one-button notices of start-up and of the profile import.
#include "dialogs/ExeIsRun.h"
#include "dialogs/InportFail.h"
#include "dialogs/QuestiondialogB.h"

#include "device/SharedFlags.h"

#include <QLabel>

namespace {
const QRect NoticeLabel(0, 30, 301, 71);
const DialogSpec::Button ConfirmButton{QStringLiteral("NewHong"), QRect(100, 110, 90, 24), QStringLiteral("确定")};

DialogSpec exeIsRunSpec()
{
    DialogSpec spec;
    spec.frameName = QStringLiteral("DeleteConfirmA");
    spec.section = QStringLiteral("EXEIsRun");
    spec.elements = QStringList{QStringLiteral("label"), QStringLiteral("NewHong"), QStringLiteral("label_2"),
                                QStringLiteral("PleaseStop")};
    spec.label = NoticeLabel;
    spec.labelText = QStringLiteral("Confirm Delete");
    spec.buttons = {ConfirmButton};
    return spec;
}

DialogSpec inportFailSpec()
{
    DialogSpec spec;
    spec.frameName = QStringLiteral("InportFailA");
    spec.section = QStringLiteral("InportFail");
    spec.elements = QStringList{QStringLiteral("label"), QStringLiteral("label_1"), QStringLiteral("NewHong")};
    spec.label = NoticeLabel;
    spec.labelText = QStringLiteral("Config does not match the device");
    spec.buttons = {ConfirmButton};
    return spec;
}

DialogSpec questionBSpec()
{
    DialogSpec spec;
    spec.frameName = QStringLiteral("QuestionB");
    spec.section = QStringLiteral("QuestionB");
    spec.elements = QStringList{QStringLiteral("label")};
    spec.label = QRect(0, 30, 301, 60);
    spec.labelText = QStringLiteral("  Do not insert multiple identical devices");
    return spec;
}
}  // namespace

ExeIsRun::ExeIsRun(QWidget* parent)
    : DialogFrame(exeIsRunSpec(), parent)
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
    : DialogFrame(inportFailSpec(), parent)
{
    finishSetup();
}

void InportFail::applyText(const QString& element, const QString& text)
{
    const int result = ImportResult.load();
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

QuestiondialogB::QuestiondialogB(QWidget* parent)
    : DialogFrame(questionBSpec(), parent)
{
    finishSetup();
}

void QuestiondialogB::on_CloseButton_clicked()
{
    close();
}
