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

// One rule for every selector of `selectors`, each with `pseudo` appended.
QString rule(const QStringList& selectors, const QString& pseudo, const QString& body)
{
    QStringList withPseudo;
    for (const QString& selector : selectors)
        withPseudo << selector + pseudo;
    return withPseudo.join(QStringLiteral(", ")) + QLatin1Char('{') + body + QLatin1Char('}');
}

// "QToolButton#a", "QToolButton#b", ... for the named widgets.
QStringList named(const QString& type, std::initializer_list<const char*> names)
{
    QStringList selectors;
    for (const char* name : names)
        selectors << type + QLatin1Char('#') + QLatin1String(name);
    return selectors;
}

const QStringList AnyToolButton{QStringLiteral("QToolButton")};

// A checkable button drawn on a border image, another when checked.
QString checkableButtonStyle(const QString& folder, const QString& rgb, const char* normal, const char* checked,
                             const QStringList& selectors = AnyToolButton)
{
    return rule(selectors, QString(),
                QStringLiteral("color: rgb(") + rgb + QStringLiteral(";);border-image: ") + pictureUrl(folder, normal)
                    + QStringLiteral(";"))
           + rule(selectors, QStringLiteral(":checked"),
                  QStringLiteral("color: rgb(") + rgb + QStringLiteral(";);border-image: ") + pictureUrl(folder, checked)
                      + QStringLiteral("; "));
}

// A plain button with its normal, hover and pressed pictures as border images.
QString pressButtonStyle(const QString& folder, const QString& textColor, const char* normal, const char* hover,
                         const char* pressed, const QStringList& selectors)
{
    return rule(selectors, QString(),
                QStringLiteral("color: ") + textColor + QStringLiteral(";border-image: ") + pictureUrl(folder, normal)
                    + QStringLiteral(";"))
           + rule(selectors, QStringLiteral(":hover"), QStringLiteral("border-image: ") + pictureUrl(folder, hover) + QStringLiteral(";"))
           + rule(selectors, QStringLiteral(":pressed"),
                  QStringLiteral("border-image: ") + pictureUrl(folder, pressed) + QStringLiteral(";"));
}

const QString TransparentContents = QStringLiteral("background-color:transparent;border:none;");
const QString White = QStringLiteral("255,255,255");

}  // namespace

QString Buttoninterface::macroButtonStyle() const
{
    return checkableButtonStyle(PicturePath, ButtonColorText, "CMenuTitle.png", "CMenuTitleChecked.png")
           + QStringLiteral("QToolButton:hover{background-image: none;}");
}

// The page's one style sheet, set before its widgets are made so that each is styled once.
// Every rule names the widgets it is for: a rule that stood in a widget's own sheet holds
// for that widget and the widgets inside it, so its selector starts at that widget.
QString Buttoninterface::pageStyleSheet() const
{
    const QString& dir = PicturePath;
    QString sheet;

    // Function pages: their buttons in ButtonColor on the menu picture, contents transparent.
    QStringList functionPages;
    for (const char* page : {"page_3", "page_9", "page_4", "page_6", "page_7", "page_10", "page_8"})
        functionPages << QStringLiteral("#%1 QToolButton").arg(QLatin1String(page));
    sheet += checkableButtonStyle(dir, ButtonColorText, "CMenuTitle.png", "CMenuTitleChecked.png", functionPages);
    QStringList contents;
    for (const char* name : {"scrollAreaWidgetContents_3", "scrollAreaWidgetContents_6", "scrollAreaWidgetContents_8",
                             "scrollAreaWidgetContents_9", "scrollAreaWidgetContents_10", "scrollAreaWidgetContents_12",
                             "scrollAreaWidgetContents_7", "scrollAreaWidgetContents_4"})
        contents << QStringLiteral("#%1").arg(QLatin1String(name)) << QStringLiteral("#%1 *").arg(QLatin1String(name));
    sheet += rule(contents, QString(), TransparentContents);

    // The key list: selectors on their bar picture, numbers in black on their plate.
    sheet += checkableButtonStyle(dir, ButtonColorText, "AMenuTitle.png", "AMenuTitleChecked.png",
                                  {QStringLiteral("#scrollAreaWidgetContents_11 QToolButton")})
             + QStringLiteral("#scrollAreaWidgetContents_11 QLabel{color: rgb(0,0,0);border-image: ")
             + pictureUrl(dir, "LabelNumber.png") + QStringLiteral(";}#scrollAreaWidgetContents_11{") + TransparentContents
             + QStringLiteral("}");

    sheet += rule({QStringLiteral("QLabel#label_3")}, QString(),
                  QStringLiteral("color: rgb(") + skinColor(QStringLiteral("LabelColor")) + QStringLiteral(";);"));
    const QString buttonColor = QStringLiteral("rgb(") + ButtonColorText + QStringLiteral(")");
    sheet += pressButtonStyle(dir, buttonColor, "Reset.png", "ResetHover.png", "ResetClick.png",
                              named(QStringLiteral("QToolButton"), {"Reset", "ImportData", "OutputData"}));
    sheet += pressButtonStyle(dir, QStringLiteral("rgb(0,0,0)"), "NumberOrigin.png", "NumberHover.png", "NumberClick.png",
                              named(QStringLiteral("QToolButton"),
                                    {"Number1", "Number2", "Number3", "Number4", "Number5", "Number6", "Number7", "Number8"}));

    // The function-type list: buttons that assign at once, and buttons that open a page.
    sheet += checkableButtonStyle(dir, White, "BMenuTitle.png", "BMenuTitleChecked.png",
                                  named(QStringLiteral("QToolButton"), {"LeftKey_3", "RightKey_3", "MidKey", "BackKey_2",
                                                                        "ForWardKey", "DPI_2", "DPI_3", "DPI_5", "DPI_6", "DPI_8"}));
    sheet += checkableButtonStyle(dir, White, "BMenuTitleB.png", "BMenuTitleCheckedB.png",
                                  named(QStringLiteral("QToolButton"), {"DPI_13", "DPI_11", "DPI_10", "DPI_9", "DPI_7", "DPI_12", "DPI_4"}));

    sheet += QStringLiteral("QLabel#label{color: rgb(255,255,255);border-image: ") + pictureUrl(dir, "Config.png")
             + QStringLiteral(";}");

    // The frame: the title picture, borderless boxes and transparent scroll areas.
    sheet += QStringLiteral("#groupBox{border:none;border-image: ") + pictureUrl(dir, "TiltleBack.png")
             + QStringLiteral(";}#groupBox_4{border:none;}#groupBox_2{border:none;}");
    sheet += rule(named(QStringLiteral("QScrollArea"), {"scrollArea_3", "scrollArea_4", "scrollArea_6", "scrollArea_7",
                                                        "scrollArea_8", "scrollArea_9", "scrollArea_10", "scrollArea_12"}),
                  QString(), QStringLiteral("border:none;background: transparent;"));
    return sheet;
}

void Buttoninterface::applyPageStyles()
{
    // The profile box with its own list view.
    ui->ProjectChoose->setStyleSheet(comboBoxStyle(PicturePath));
    auto* view = new QListView(ui->ProjectChoose);
    view->setStyleSheet(comboListStyle());
    ui->ProjectChoose->setView(view);
    ui->ProjectChoose->setMaxVisibleItems(5);
    ui->scrollArea_11->setFrameShape(QFrame::NoFrame);
}
