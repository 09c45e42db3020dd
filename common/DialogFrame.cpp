#include "common/DialogFrame.h"

#include "common/LanguageFile.h"
#include "common/PostMsg.h"
#include "common/SkinStyles.h"
#include "ui_DialogFrame.h"

#include <QKeySequence>
#include <QToolButton>

#include <algorithm>

Qt::WindowFlags dialogWindowFlags()
{
#ifdef Q_OS_WIN
    // 0x6C12: with its owner set, Windows keeps it above that window only.
    return Qt::SubWindow | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
           Qt::BypassWindowManagerHint;
#else
    // A window the manager keeps: only a dialog type gets the owner as its transient parent, and
    // an override-redirect window would never get the keyboard from a click.
    return Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint;
#endif
}

DialogFrame::DialogFrame(const DialogLayout& setup, QWidget* parent)
    : OwnedDialog(parent)
    , ui(new Ui::DialogFrame)
    , m_layout(setup)
{
    ui->setupUi(this);
    setFixedSize(setup.size);
    ui->Background->setFixedSize(setup.size);
    ui->Background->setObjectName(setup.frameName);
    ui->CloseButton->setGeometry(setup.closeButton);
    ui->label->setGeometry(setup.label);
    keepTextOffDialogEdges(ui->label, setup.size.width());
    ui->label->setText(setup.labelText);
    ui->label->setAlignment(setup.labelAlignment);
    QFont labelFont = ui->label->font();
    labelFont.setPointSize(setup.labelPointSize);
    ui->label->setFont(labelFont);

    const QString imageFolder = pictureFolder(setup.pictureFolderName);
    const QString buttonStyle = confirmButtonStyle(skinColor(QStringLiteral("ButtonColor")), imageFolder,
                                                   setup.confirmImage, setup.confirmPressedImage);
    QFont buttonFont = ui->label->font();
    buttonFont.setPointSize(11);
    if (!setup.buttons.isEmpty()) {
        // A faint divider above the button row, only where there is a row.
        int top = setup.size.height();
        for (const DialogLayout::Button& entry : setup.buttons)
            top = qMin(top, entry.geometry.top());
        auto* divider = new QFrame(ui->Background);
        divider->setObjectName(QStringLiteral("ButtonDivider"));
        divider->setGeometry(20, top - 8, setup.size.width() - 40, 1);
        divider->setStyleSheet(QStringLiteral("#ButtonDivider{border:0px;background-color: rgba(255, 255, 255, 14);}"));
    }
    for (const DialogLayout::Button& entry : setup.buttons) {
        auto* button = new QToolButton(ui->Background);
        button->setObjectName(entry.name);
        button->setGeometry(entry.geometry);
        button->setFont(buttonFont);
        button->setAutoRaise(true);
        button->setText(entry.text);
        button->setStyleSheet(buttonStyle);
    }

    connect(PostMsg::instance(), &PostMsg::SigChangeLanguage, this, &DialogFrame::SlotChangeLanguage);

    setWindowFlags(dialogWindowFlags());
    ui->label->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
    ui->Background->setStyleSheet(setup.stretchBackground ? stretchedBackgroundStyle(setup.frameName, imageFolder)
                                                          : backgroundStyle(setup.frameName, imageFolder));
    ui->CloseButton->setStyleSheet(closeButtonStyle(imageFolder));
}

DialogFrame::~DialogFrame()
{
    delete ui;
}

QString DialogFrame::frameName() const
{
    return m_layout.frameName;
}

void DialogFrame::finishSetup()
{
    setObjectName(QString::fromLatin1(metaObject()->className()));
    QMetaObject::connectSlotsByName(this);
    SlotChangeLanguage(currentLanguageIndex());
}

void DialogFrame::SlotChangeLanguage(int index)
{
    loadLanguageSection(index, m_layout.section, m_layout.elements,
                        [this](const QString& element, const QString& text) { applyText(element, text); });
    // Setting a button's text resets its shortcut to the text's mnemonic.
    if (m_returnButton)
        m_returnButton->setShortcut(QKeySequence(Qt::Key_Return));
}

void DialogFrame::applyText(const QString& element, const QString& text)
{
    setWidgetText(this, element, text);
}

QLabel* DialogFrame::label() const
{
    return ui->label;
}

QFrame* DialogFrame::background() const
{
    return ui->Background;
}

QToolButton* DialogFrame::button(const QString& name) const
{
    return findChild<QToolButton*>(name);
}

void DialogFrame::confirmWithReturn(QToolButton* button)
{
    m_returnButton = button;
    button->setShortcut(QKeySequence(Qt::Key_Return));
}

void keepTextOffDialogEdges(QLabel* label, int dialogWidth)
{
    constexpr int EdgeMargin = 12;
    const QRect area = label->geometry();
    const int left = std::max(0, EdgeMargin - area.left());
    const int right = std::max(0, EdgeMargin - (dialogWidth - 1 - area.right()));
    label->setContentsMargins(left, 0, right, 0);
}

void placeCentred(QWidget* dialog, const QWidget* over, int left, int up)
{
    if (!dialog || !over)
        return;
    if (auto* owned = qobject_cast<OwnedDialog*>(dialog))
        owned->setOpener(over);
    const QPoint corner = over->mapToGlobal(QPoint(0, 0));
    dialog->move(corner.x() + (over->width() - dialog->width()) / 2 - left,
                 corner.y() + (over->height() - dialog->height()) / 2 - up);
}
