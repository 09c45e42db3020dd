#include "widgets/MyConmboBox.h"

#include "common/SkinStyles.h"

#include <QListView>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

MyConmboBox::MyConmboBox(QWidget* parent)
    : QComboBox(parent)
{
}

MyConmboBox::~MyConmboBox() = default;

QListView* MyConmboBox::applySkin(const QString& folder)
{
    skinField(folder);
    return skinList();
}

void MyConmboBox::applySkinWhenOpened(const QString& folder)
{
    skinField(folder);
    m_listPending = true;
}

void MyConmboBox::skinField(const QString& folder)
{
    // Without "combobox-popup: 0" styles that open the list over the field show every entry
    // and ignore the visible-item limit.
    setStyleSheet(comboBoxStyle(folder) + QStringLiteral("QComboBox{combobox-popup: 0;}"));
    m_skinned = true;
}

QListView* MyConmboBox::skinList()
{
    m_listPending = false;
    auto* view = new QListView(this);
    view->setStyleSheet(comboListStyle());
    setView(view);
    return view;
}

void MyConmboBox::mousePressEvent(QMouseEvent* event)
{
    LastPressIndex = currentIndex();
    QComboBox::mousePressEvent(event);
}

void MyConmboBox::keyPressEvent(QKeyEvent* event)
{
    LastPressIndex = currentIndex();
    QComboBox::keyPressEvent(event);
}

void MyConmboBox::showPopup()
{
    LastPressIndex = currentIndex();
    if (m_listPending)
        skinList();
    // Inside a page with a sheet of its own, a box sized before it was skinned still answers
    // with its earlier style rules when the list is set, so the list takes the popup style's
    // choice and turns its scroll bar off for good. A skinned list keeps to its visible rows
    // and needs the bar whenever entries are hidden.
    if (m_skinned)
        view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QComboBox::showPopup();
}

void MyConmboBox::showPressIndex()
{
    const QSignalBlocker blocker(this);
    setCurrentIndex(LastPressIndex);
}

void MyConmboBox::paintEvent(QPaintEvent* /*event*/)
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    QRect field;
    {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (isEditable()) {
            painter.drawControl(QStyle::CE_ComboBoxLabel, option);
            return;
        }
        field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    }

    // Drawn as a push-button label so the text sits in the middle of the field.
    QStyleOptionButton label;
    label.initFrom(this);
    label.rect = field;
    label.text = option.currentText;
    label.icon = option.currentIcon;
    label.iconSize = option.iconSize;
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_PushButtonLabel, label);
}
