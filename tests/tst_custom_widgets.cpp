#include "widgets/MyButton.h"
#include "widgets/MyConmboBox.h"
#include "widgets/MyLineEdit.h"
#include "widgets/MySlider.h"
#include "widgets/MyToolButton.h"
#include "widgets/mytoolButtonEnter.h"

#include <QAbstractItemView>
#include <QDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Stands in for the device-choice page: records the tiles it is asked to refresh.
class TileHost : public QWidget {
    Q_OBJECT
public:
    QList<int> refreshed;
    Q_INVOKABLE void RefreshDeviceTile(int tile) { refreshed.append(tile); }
};

// Whether the widget took the event (an event it leaves goes on to its parents).
bool sendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, w->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
    return event.isAccepted();
}

QStringList g_warnings;
void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << text;
}

}  // namespace

class TestCustomWidgets : public QObject {
    Q_OBJECT
private slots:
    void sliderJumpsToClick_data();
    void sliderJumpsToClick();
    void sliderStaysWhereClickedWhileHeld();
    void sliderHandlePressKeepsTheValue();
    void toolButtonActsOnPress();
    void toolButtonIgnoresOtherButtons();
    void comboBoxRemembersPressedIndex();
    void comboBoxPaintsCentredText();
    void skinnedListShowsScrollBarOnlyWhenEntriesAreHidden_data();
    void skinnedListShowsScrollBarOnlyWhenEntriesAreHidden();
    void tileButtonRefreshesItsTile_data();
    void tileButtonRefreshesItsTile();
    void lineEditIgnoresTypedKeys();
    void buttonShowsHandOnHover();
};

void TestCustomWidgets::sliderJumpsToClick_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("expected");
    QTest::newRow("fraction dropped") << 0 << 100 << 200 << 99 << 49;
    QTest::newRow("left end") << 0 << 100 << 200 << 0 << 0;
    QTest::newRow("dpi slider") << 50 << 10000 << 561 << 280 << 5016;
    QTest::newRow("negative truncates toward zero") << -10 << 10 << 200 << 99 << 0;
    QTest::newRow("negative range") << -50 << 50 << 100 << 25 << -25;
}

void TestCustomWidgets::sliderJumpsToClick()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, width);
    QFETCH(int, x);
    QFETCH(int, expected);

    MySlider slider;
    slider.setOrientation(Qt::Horizontal);
    slider.setRange(minimum, maximum);
    slider.setValue(maximum);
    slider.setFixedSize(width, 20);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QSignalSpy changed(&slider, &QSlider::valueChanged);

    sendMouse(&slider, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(x, 10));
    sendMouse(&slider, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(x, 10));

    QCOMPARE(slider.value(), expected);
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.last().at(0).toInt(), expected);
}

void TestCustomWidgets::sliderStaysWhereClickedWhileHeld()
{
    MySlider slider;
    slider.setOrientation(Qt::Horizontal);
    slider.setRange(0, 100);
    slider.setPageStep(10);
    slider.setFixedSize(200, 20);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));

    sendMouse(&slider, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(150, 10));
    QCOMPARE(slider.value(), 75);
    QTest::qWait(900);  // past the groove's auto-repeat delay
    QCOMPARE(slider.value(), 75);
    sendMouse(&slider, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(150, 10));
    QCOMPARE(slider.value(), 75);
}

void TestCustomWidgets::sliderHandlePressKeepsTheValue()
{
    MySlider slider;
    slider.setOrientation(Qt::Horizontal);
    slider.setRange(50, 10000);
    slider.setSingleStep(50);
    slider.setPageStep(50);
    slider.setTracking(false);
    slider.setValue(5000);
    slider.setFixedSize(561, 20);
    slider.show();
    QVERIFY(QTest::qWaitForWindowExposed(&slider));
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.subControls = QStyle::SC_All;
    const QRect handle = slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
    QVERIFY(handle.isValid());
    QSignalSpy changed(&slider, &QSlider::valueChanged);

    // Anywhere on the handle: taken, and the value stays until the handle moves.
    for (const QPoint& spot : {handle.center(), handle.topLeft(), handle.bottomRight()}) {
        QVERIFY(sendMouse(&slider, QEvent::MouseButtonPress, Qt::LeftButton, spot));
        sendMouse(&slider, QEvent::MouseButtonRelease, Qt::LeftButton, spot);
    }
    QCOMPARE(slider.value(), 5000);
    QCOMPARE(changed.count(), 0);

    // The groove still pages first and then jumps to the click.
    QVERIFY(sendMouse(&slider, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(56, 10)));
    sendMouse(&slider, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(56, 10));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).toInt(), 4950);
    QCOMPARE(slider.value(), 50 + int(9950.0 * 56 / 561));
}

void TestCustomWidgets::toolButtonActsOnPress()
{
    MyToolButton button;
    button.setCheckable(true);
    QSignalSpy clicked(&button, &QToolButton::clicked);

    // The press it acts on is its own to the end: its moves and release are taken too.
    QVERIFY(sendMouse(&button, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(2, 2)));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toBool(), false);
    QVERIFY(button.isChecked());
    QVERIFY(sendMouse(&button, QEvent::MouseMove, Qt::LeftButton, QPoint(40, 2)));

    QVERIFY(sendMouse(&button, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(2, 2)));
    QCOMPARE(clicked.count(), 1);  // nothing on release
    // A move with no press of its own is left to the parents.
    QVERIFY(!sendMouse(&button, QEvent::MouseMove, Qt::LeftButton, QPoint(3, 2)));
    QVERIFY(button.isChecked());

    // A double click: the second press arrives as a double-click event.
    sendMouse(&button, QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(2, 2));
    sendMouse(&button, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(2, 2));
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(1).at(0).toBool(), true);
    QVERIFY(button.isChecked());
}

void TestCustomWidgets::toolButtonIgnoresOtherButtons()
{
    MyToolButton button;
    button.setCheckable(true);
    QSignalSpy clicked(&button, &QToolButton::clicked);

    for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        QVERIFY(!sendMouse(&button, QEvent::MouseButtonPress, other, QPoint(2, 2)));
        sendMouse(&button, QEvent::MouseButtonRelease, other, QPoint(2, 2));
        sendMouse(&button, QEvent::MouseButtonDblClick, other, QPoint(2, 2));
    }
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!button.isChecked());
}

void TestCustomWidgets::comboBoxRemembersPressedIndex()
{
    MyConmboBox combo;
    combo.addItems({QStringLiteral("1mm"), QStringLiteral("2mm"), QStringLiteral("3mm")});
    QCOMPARE(combo.LastPressIndex, 0);
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));

    combo.setCurrentIndex(2);
    sendMouse(&combo, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    combo.hidePopup();
    QCOMPARE(combo.LastPressIndex, 2);

    // A later choice (by code or from the list) leaves the remembered index alone.
    combo.setCurrentIndex(0);
    QCOMPARE(combo.LastPressIndex, 2);
    QCOMPARE(combo.currentIndex(), 0);
}

void TestCustomWidgets::comboBoxPaintsCentredText()
{
    for (bool editable : {false, true}) {
        MyConmboBox combo;
        combo.setEditable(editable);
        combo.addItem(QStringLiteral("WWWW"));
        combo.resize(240, 30);
        QPalette palette = combo.palette();
        palette.setColor(QPalette::ButtonText, Qt::black);
        palette.setColor(QPalette::Text, Qt::black);
        combo.setPalette(palette);

        g_warnings.clear();
        const QtMessageHandler old = qInstallMessageHandler(collectWarnings);
        const QImage image = combo.grab().toImage();
        qInstallMessageHandler(old);
        QVERIFY2(g_warnings.isEmpty(), qPrintable(g_warnings.join(QLatin1Char('\n'))));
        if (editable)
            continue;

        // The text's dark pixels sit in the middle of the edit field.
        QStyleOptionComboBox option;
        option.initFrom(&combo);
        option.editable = false;
        const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &combo);
        int left = field.right();
        int right = field.left();
        for (int x = field.left(); x <= field.right(); ++x)
            for (int y = field.top(); y <= field.bottom(); ++y)
                if (qGray(image.pixel(x, y)) < 80) {
                    left = qMin(left, x);
                    right = qMax(right, x);
                }
        QVERIFY2(left < right, "no text drawn");
        const int textCentre = (left + right) / 2;
        QVERIFY2(qAbs(textCentre - field.center().x()) <= 6,
                 qPrintable(QStringLiteral("text centre %1, field centre %2").arg(textCentre).arg(field.center().x())));
    }
}

void TestCustomWidgets::skinnedListShowsScrollBarOnlyWhenEntriesAreHidden_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("styledWindow");
    QTest::addColumn<bool>("barShown");
    QTest::addColumn<bool>("listWhenOpened");
    QTest::newRow("nine of five") << 9 << false << true << false;
    QTest::newRow("nine of five in a styled window") << 9 << true << true << false;
    QTest::newRow("six of five in a styled window") << 6 << true << true << false;
    QTest::newRow("five fit") << 5 << true << false << false;
    // The choice page's language box: its list is made and skinned when it first opens.
    QTest::newRow("list made when opened, nine of five") << 9 << true << true << true;
    QTest::newRow("list made when opened, five fit") << 5 << false << false << true;
}

void TestCustomWidgets::skinnedListShowsScrollBarOnlyWhenEntriesAreHidden()
{
    QFETCH(int, entries);
    QFETCH(bool, styledWindow);
    QFETCH(bool, barShown);
    QFETCH(bool, listWhenOpened);

    // Pages carry sheets of their own, and a form sizes its boxes before the skin comes: the
    // box's style rules are already known (without the skin's popup choice) when it is skinned.
    QWidget window;
    if (styledWindow)
        window.setStyleSheet(QStringLiteral("QLabel{color: white;}"));
    auto* combo = new MyConmboBox(&window);
    combo->setGeometry(10, 10, 200, 30);
    for (int i = 0; i < entries; ++i)
        combo->addItem(QStringLiteral("Entry %1").arg(i));
    combo->sizeHint();
    if (listWhenOpened)
        combo->applySkinWhenOpened(QStringLiteral("/nonexistent/"));
    else
        combo->applySkin(QStringLiteral("/nonexistent/"));
    combo->setMaxVisibleItems(5);
    window.resize(240, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    static_cast<QComboBox*>(combo)->showPopup();
    QWidget* popup = combo->view()->window();
    QTRY_VERIFY(popup->isVisible());
    const QScrollBar* bar = combo->view()->verticalScrollBar();
    QCOMPARE(bar->isVisible(), barShown);
    if (barShown) {
        // The whole bar lies inside the pop-up and its handle is painted in the skin's grey.
        const QRect inPopup(bar->mapTo(popup, QPoint(0, 0)), bar->size());
        QVERIFY(bar->width() > 0 && bar->height() > 0);
        QVERIFY2(popup->rect().contains(inPopup), qPrintable(QStringLiteral("bar at %1,%2 %3x%4 in %5x%6")
                     .arg(inPopup.x()).arg(inPopup.y()).arg(inPopup.width()).arg(inPopup.height())
                     .arg(popup->width()).arg(popup->height())));
        const QImage image = popup->grab().toImage();
        bool handle = false;
        for (int y = inPopup.top(); y <= inPopup.bottom() && !handle; ++y)
            handle = image.pixelColor(inPopup.center().x(), y) == QColor(117, 117, 117);
        QVERIFY2(handle, "no handle painted");
    }
    combo->hidePopup();
}

void TestCustomWidgets::tileButtonRefreshesItsTile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tile");
    QTest::newRow("btn3") << QStringLiteral("btn3") << 3;
    QTest::newRow("btn12") << QStringLiteral("btn12") << 12;
    QTest::newRow("not a number") << QStringLiteral("btnx") << 0;
}

void TestCustomWidgets::tileButtonRefreshesItsTile()
{
    QFETCH(QString, name);
    QFETCH(int, tile);

    TileHost host;
    QWidget area(&host);
    auto* button = new mytoolButtonEnter(&area);
    button->setObjectName(name);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button, &enter);
    QCOMPARE(host.refreshed, QList<int>{tile});

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    QCOMPARE(host.refreshed, QList<int>{tile});

    // A tile outside any choice page hovers harmlessly.
    mytoolButtonEnter loose;
    loose.setObjectName(name);
    QApplication::sendEvent(&loose, &enter);
}

void TestCustomWidgets::lineEditIgnoresTypedKeys()
{
    QDialog dialog;
    auto* edit = new MyLineEdit(&dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(ok);
    QSignalSpy okClicked(ok, &QPushButton::clicked);
    QSignalSpy rejected(&dialog, &QDialog::rejected);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    edit->setFocus();

    edit->setText(QStringLiteral("Ctrl+A"));
    QTest::keyClicks(edit, QStringLiteral("xyz"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);

    QCOMPARE(edit->text(), QStringLiteral("Ctrl+A"));
    QCOMPARE(okClicked.count(), 0);
    QCOMPARE(rejected.count(), 0);
    QVERIFY(dialog.isVisible());
}

void TestCustomWidgets::buttonShowsHandOnHover()
{
    MyButton button;
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TestCustomWidgets)
#include "tst_custom_widgets.moc"
