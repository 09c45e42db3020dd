// The page's look: pictures of "Picture/Buttoninterface/" and the catalogue's skin colours.
#include "pages/buttons/Buttoninterface.h"

#include "ui_Buttoninterface.h"

#include "common/SkinStyles.h"
#include "common/StyleSheetUrl.h"

#include <QListView>

namespace {

QString pictureUrl(const QString& folder, const char* file)
{
    return styleSheetUrl(folder + QLatin1String(file));
}

// A checkable button drawn on a border image, another when checked.
QString checkableButtonStyle(const QString& folder, const QString& rgb, const char* normal, const char* checked)
{
    return QStringLiteral("QToolButton{color: rgb(") + rgb + QStringLiteral(";);border-image: ") + pictureUrl(folder, normal)
           + QStringLiteral(";}QToolButton:checked{color: rgb(") + rgb + QStringLiteral(";);border-image: ")
           + pictureUrl(folder, checked) + QStringLiteral("; }");
}

// A plain button with its normal, hover and pressed pictures as border images.
QString pressButtonStyle(const QString& folder, const QString& textColor, const char* normal, const char* hover,
                         const char* pressed)
{
    return QStringLiteral("QToolButton{color: ") + textColor + QStringLiteral(";border-image: ") + pictureUrl(folder, normal)
           + QStringLiteral(";}QToolButton:hover{border-image: ") + pictureUrl(folder, hover)
           + QStringLiteral(";}QToolButton:pressed{border-image: ") + pictureUrl(folder, pressed) + QStringLiteral(";}");
}

const QString TransparentContents = QStringLiteral("background-color:transparent;border:none;");
const QString White = QStringLiteral("255,255,255");

}  // namespace

QString Buttoninterface::macroButtonStyle() const
{
    return checkableButtonStyle(PicturePath, ButtonColorText, "CMenuTitle.png", "CMenuTitleChecked.png")
           + QStringLiteral("QToolButton:hover{background-image: none;}");
}

void Buttoninterface::applyPageStyles()
{
    const QString& dir = PicturePath;

    // Function pages: their buttons in ButtonColor on the menu picture, contents transparent.
    const QString functionButtons = checkableButtonStyle(dir, ButtonColorText, "CMenuTitle.png", "CMenuTitleChecked.png");
    for (QWidget* page : {ui->page_3, ui->page_9, ui->page_4, ui->page_6, ui->page_7, ui->page_10, ui->page_8})
        page->setStyleSheet(functionButtons);
    for (QWidget* contents : {ui->scrollAreaWidgetContents_3, ui->scrollAreaWidgetContents_6,
                              ui->scrollAreaWidgetContents_8, ui->scrollAreaWidgetContents_9,
                              ui->scrollAreaWidgetContents_10, ui->scrollAreaWidgetContents_12,
                              ui->scrollAreaWidgetContents_7, ui->scrollAreaWidgetContents_4})
        contents->setStyleSheet(TransparentContents);

    // The key list: selectors on their bar picture, numbers in black on their plate.
    ui->scrollAreaWidgetContents_11->setStyleSheet(
        checkableButtonStyle(dir, ButtonColorText, "AMenuTitle.png", "AMenuTitleChecked.png")
        + QStringLiteral("QLabel{color: rgb(0,0,0);border-image: ") + pictureUrl(dir, "LabelNumber.png")
        + QStringLiteral(";}#scrollAreaWidgetContents_11{") + TransparentContents + QStringLiteral("}"));
    ui->scrollArea_11->setFrameShape(QFrame::NoFrame);

    // The profile box with its own list view.
    ui->ProjectChoose->setStyleSheet(comboBoxStyle(dir));
    auto* view = new QListView(ui->ProjectChoose);
    view->setStyleSheet(comboListStyle());
    ui->ProjectChoose->setView(view);
    ui->ProjectChoose->setMaxVisibleItems(5);

    ui->label_3->setStyleSheet(labelColorStyle(skinColor(QStringLiteral("LabelColor"))));
    const QString buttonColor = QStringLiteral("rgb(") + ButtonColorText + QStringLiteral(")");
    for (QToolButton* button : {ui->Reset, ui->ImportData, ui->OutputData})
        button->setStyleSheet(pressButtonStyle(dir, buttonColor, "Reset.png", "ResetHover.png", "ResetClick.png"));
    for (QToolButton* marker : {ui->Number1, ui->Number2, ui->Number3, ui->Number4, ui->Number5, ui->Number6,
                                ui->Number7, ui->Number8})
        marker->setStyleSheet(pressButtonStyle(dir, QStringLiteral("rgb(0,0,0)"), "NumberOrigin.png", "NumberHover.png",
                                               "NumberClick.png"));

    // The function-type list: buttons that assign at once, and buttons that open a page.
    const QString assigning = checkableButtonStyle(dir, White, "BMenuTitle.png", "BMenuTitleChecked.png");
    for (QToolButton* button : {ui->LeftKey_3, ui->RightKey_3, ui->MidKey, ui->BackKey_2, ui->ForWardKey, ui->DPI_2,
                                ui->DPI_3, ui->DPI_5})
        button->setStyleSheet(assigning);
    ui->DPI_6->setStyleSheet(assigning);
    ui->DPI_8->setStyleSheet(assigning);
    const QString opening = checkableButtonStyle(dir, White, "BMenuTitleB.png", "BMenuTitleCheckedB.png");
    for (QToolButton* button : {ui->DPI_13, ui->DPI_11, ui->DPI_10, ui->DPI_9, ui->DPI_7, ui->DPI_12, ui->DPI_4})
        button->setStyleSheet(opening);

    ui->label->setStyleSheet(QStringLiteral("QLabel{color: rgb(255,255,255);border-image: ") + pictureUrl(dir, "Config.png")
                             + QStringLiteral(";}"));
}

void Buttoninterface::applyFrameStyles()
{
    ui->groupBox->setStyleSheet(QStringLiteral("#groupBox{border:none;border-image: ") + pictureUrl(PicturePath, "TiltleBack.png")
                                + QStringLiteral(";}"));
    ui->groupBox_4->setStyleSheet(QStringLiteral("#groupBox_4{border:none;}"));
    ui->groupBox_2->setStyleSheet(QStringLiteral("#groupBox_2{border:none;}"));
    for (QScrollArea* area : {ui->scrollArea_3, ui->scrollArea_4, ui->scrollArea_6, ui->scrollArea_7, ui->scrollArea_8,
                              ui->scrollArea_9, ui->scrollArea_10, ui->scrollArea_12})
        area->setStyleSheet(QStringLiteral("QScrollArea{border:none;background: transparent;}"));
}
