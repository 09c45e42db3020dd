#include "dialogs/Progress.h"

#include "common/PostMsg.h"
#include "device/SharedFlags.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

namespace {
enum Meaning { Running = 0, Failed = 1, Finished = 2, Starting = 3, Reset = 4 };

DialogLayout progressLayout()
{
    DialogLayout setup;
    setup.frameName = QStringLiteral("AddDelayTimeA");
    setup.section = QStringLiteral("Progress");
    setup.elements = QStringList{QStringLiteral("Confirm"), QStringLiteral("UpdateNotMove"), QStringLiteral("UpDateFail"),
                                QStringLiteral("UpDateSuccess")};
    setup.label = QRect(10, 15, 281, 51);
    setup.labelText = QStringLiteral("Please enter the delay time");
    setup.labelAlignment = Qt::AlignHCenter | Qt::AlignBottom;
    setup.buttons = {{QStringLiteral("NewHong"), QRect(110, 110, 90, 24), QStringLiteral("确定")}};
    return setup;
}
}  // namespace

Progress::Progress(QWidget* parent)
    : DialogFrame(progressLayout(), parent)
{
    m_bar = new QProgressBar(findChild<QFrame*>(frameName()));
    m_bar->setObjectName(QStringLiteral("progressBar_2"));
    m_bar->setGeometry(30, 70, 241, 26);
    m_bar->setFont(label()->font());
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setInvertedAppearance(false);
    m_bar->setTextVisible(true);
    m_bar->setStyleSheet(QStringLiteral(
        "QProgressBar{border: 2px solid grey;border-radius: 5px;background-color: transparent;"
        "color: rgb(255, 255, 255);text-align: center;}"
        "QProgressBar::chunk{background-color: rgb(80, 240, 0);width: 20px;}"));

    connect(PostMsg::instance(), &PostMsg::SigCloseProgress, this, &Progress::SlotCloseProgress);
    finishSetup();
    connect(PostMsg::instance(), &PostMsg::SigProgress, this, &Progress::SlotProgress);
    button(QStringLiteral("NewHong"))->hide();
    showRunning();
}

QString Progress::statusText(int percent) const
{
    return ProgressText + QStringLiteral(": ") + QString::number(percent) + QLatin1Char('%');
}

// The text names the figure the bar shows.
void Progress::showRunning()
{
    label()->setText(statusText(m_bar->value()));
}

void Progress::resetState()
{
    m_bar->setValue(0);
    showRunning();
}

void Progress::applyText(const QString& element, const QString& text)
{
    if (element == QLatin1String("Confirm")) {
        button(QStringLiteral("NewHong"))->setText(text);
    } else if (element == QLatin1String("UpdateNotMove")) {
        ProgressText = text;
        showRunning();
    } else if (element == QLatin1String("UpDateFail")) {
        FailText = text;
    } else if (element == QLatin1String("UpDateSuccess")) {
        SuccessText = text;
    }
}

void Progress::showOutcome(const QString& text)
{
    QToolButton* confirm = button(QStringLiteral("NewHong"));
    confirmWithReturn(confirm);
    label()->setText(text);
    confirm->show();
}

void Progress::SlotProgress(int schedue, int Discrib)
{
    // A failure carries no percentage of its own: the bar keeps how far the update came.
    if (Discrib != Failed)
        m_bar->setValue(schedue);
    switch (Discrib) {
    case Running:
        showRunning();
        break;
    case Failed:
        m_outcome = Failed;
        showOutcome(FailText);
        break;
    case Finished:
        m_outcome = Finished;
        showOutcome(SuccessText);
        m_bar->setValue(100);
        break;
    case Starting:
        // A dialog kept after a failure still shows its text.
        m_outcome = 0;
        button(QStringLiteral("NewHong"))->hide();
        showRunning();
        break;
    case Reset:
        m_outcome = 0;
        button(QStringLiteral("NewHong"))->hide();
        resetState();
        break;
    default:
        break;
    }
}

void Progress::SlotCloseProgress()
{
    if (ManualUpdateActive.load() != 0)
        return;
    closeDialog();
    resetState();
}

void Progress::on_NewHong_clicked()
{
    // The outcome is remembered rather than read back from the label: with no texts in the
    // language file, success and failure would show the same (empty) label.
    if (m_outcome == Failed) {
        PostMsg::instance()->SendChangeMainDialog(0);
        closeDialog();
        return;
    }
    closeDialog();
    resetState();
    PostMsg::instance()->SendContinue(0);
}

void Progress::on_CloseButton_clicked()
{
    if (ManualUpdateActive.load() == 0)
        on_NewHong_clicked();
}

void Progress::reject()
{
    if (ManualUpdateActive.load() != 0 && !m_closing)
        return;
    QDialog::reject();
}

void Progress::closeDialog()
{
    // close() passes through reject(); the dialog's own closing is never refused.
    m_closing = true;
    close();
    m_closing = false;
}
