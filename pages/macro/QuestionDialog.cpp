#include "pages/macro/QuestionDialog.h"

#include "device/MacroNames.h"
#include "ui_QuestionDialog.h"

#include <QToolButton>

QuestionDialog::QuestionDialog(QWidget* parent)
    : KeyEntryDialog(layoutOf({QStringLiteral("Question"), QStringLiteral("Question"), QRect(30, 20, 241, 41),
                               QStringLiteral("Please create a macro first"), 50, 170, QStringLiteral("确认"), {}}),
                     parent)
    , ui(new Ui::QuestionDialog)
{
    ui->setupUi(background());
    styleEntry(ui->lineEdit);
    connect(button(QStringLiteral("NewHong_2")), &QToolButton::clicked, this, &QuestionDialog::WindowClosedLan);
    ui->lineEdit->setFocus();
    confirmWithReturn(button(QStringLiteral("NewHong")));
    finishSetup();
}

QuestionDialog::~QuestionDialog()
{
    delete ui;
}

QString QuestionDialog::filteredName(const QString& text)
{
    QString name = text;
    // A blank typed at the end goes, and with it every blank; inner blanks typed or pasted
    // with text after them stay.
    if (name.endsWith(QLatin1Char(' ')))
        name.remove(QLatin1Char(' '));
    // What a file name cannot hold.
    for (int i = name.size() - 1; i >= 0; --i) {
        const QChar c = name.at(i);
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7F)
            name.remove(i, 1);
    }
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    return FitMacroName(name);
}

void QuestionDialog::WindowClosedLan()
{
    MacroName.clear();
    reject();
}

void QuestionDialog::on_CloseButton_clicked()
{
    WindowClosedLan();
}

void QuestionDialog::on_NewHong_clicked()
{
    MacroName = ui->lineEdit->text();
    accept();
}

void QuestionDialog::on_lineEdit_textEdited(const QString& arg1)
{
    const QString name = filteredName(arg1);
    if (name != arg1)
        ui->lineEdit->setText(name);
}
