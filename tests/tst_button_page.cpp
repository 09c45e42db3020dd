// The button page: its form, the fills from an image, the factory state, the model's
// picture and markers, the profile box and the texts of each language.
#include "DeviceLinkFixture.h"
#include "common/MacroSetting.h"
#include "common/AppPaths.h"
#include "device/ButtonRecords.h"
#include "device/DeviceCache.h"
#include "device/MacroNames.h"
#include "device/SensorHeader.h"
#include "pages/buttons/Buttoninterface.h"
#include "pages/buttons/SelectorTable.h"
#include "shell/ChoiceTiles.h"
#include "ui_Buttoninterface.h"

#include <QComboBox>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

using namespace linktest;

namespace {

// Every widget of the form: object name, class, parent (a scroll area's contents count as
// the scroll area's child).
const char* const FormObjects[] = {
        "MainWindow QFrame Buttoninterface; label QLabel MainWindow; widget QWidget MainWindow;"
        "Number1 QToolButton widget; Number2 QToolButton widget; Number3 QToolButton widget;"
        "Number4 QToolButton widget; Number5 QToolButton widget; Number6 QToolButton widget;"
        "Number7 QToolButton widget; Number8 QToolButton widget; OutputData QToolButton MainWindow;"
        "ImportData QToolButton MainWindow; groupBox QGroupBox MainWindow; groupBox_4 QGroupBox groupBox;"
        "stackedWidget_2 QStackedWidget groupBox_4; page_3 QWidget stackedWidget_2;"
        "scrollArea_3 QScrollArea page_3; scrollAreaWidgetContents_3 QWidget scrollArea_3;"
        "Player QToolButton scrollAreaWidgetContents_3; StartPause_2 QToolButton scrollAreaWidgetContents_3;"
        "BackMusic_2 QToolButton scrollAreaWidgetContents_3;"
        "TopMusic_2 QToolButton scrollAreaWidgetContents_3; Mute QToolButton scrollAreaWidgetContents_3;"
        "VolumeUp QToolButton scrollAreaWidgetContents_3; VolumeDown QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_4 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_5 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_6 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_3 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_8 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_9 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_7 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_10 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_12 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_13 QToolButton scrollAreaWidgetContents_3;"
        "VolumeDown_11 QToolButton scrollAreaWidgetContents_3; page_5 QWidget stackedWidget_2;"
        "scrollArea_7 QScrollArea page_5; scrollAreaWidgetContents_7 QWidget scrollArea_7;"
        "page_6 QWidget stackedWidget_2; scrollArea_8 QScrollArea page_6;"
        "scrollAreaWidgetContents_8 QWidget scrollArea_8; VolumeUp_4 QToolButton scrollAreaWidgetContents_8;"
        "VolumeUp_5 QToolButton scrollAreaWidgetContents_8;"
        "VolumeUp_6 QToolButton scrollAreaWidgetContents_8;"
        "VolumeUp_7 QToolButton scrollAreaWidgetContents_8; page_8 QWidget stackedWidget_2;"
        "scrollArea_10 QScrollArea page_8; scrollAreaWidgetContents_10 QWidget scrollArea_10;"
        "VolumeUp_11 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_12 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_13 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_16 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_15 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_19 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_20 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_22 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_18 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_24 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_23 QToolButton scrollAreaWidgetContents_10;"
        "VolumeUp_21 QToolButton scrollAreaWidgetContents_10; page_9 QWidget stackedWidget_2;"
        "groupBox_2 QGroupBox page_9; label_3 QLabel groupBox_2; DebunceButton DebounceTime groupBox_2;"
        "page_4 QWidget stackedWidget_2; scrollArea_6 QScrollArea page_4;"
        "scrollAreaWidgetContents_6 QWidget scrollArea_6; VolumeUp_2 QToolButton scrollAreaWidgetContents_6;"
        "VolumeDown_2 QToolButton scrollAreaWidgetContents_6; page_7 QWidget stackedWidget_2;"
        "scrollArea_9 QScrollArea page_7; scrollAreaWidgetContents_9 QWidget scrollArea_9;"
        "VolumeUp_8 QToolButton scrollAreaWidgetContents_9;"
        "VolumeUp_9 QToolButton scrollAreaWidgetContents_9;"
        "VolumeUp_10 QToolButton scrollAreaWidgetContents_9; page_10 QWidget stackedWidget_2;"
        "scrollArea_12 QScrollArea page_10; scrollAreaWidgetContents_12 QWidget scrollArea_12;"
        "VolumeUp_14 QToolButton scrollAreaWidgetContents_12;"
        "VolumeDown_14 QToolButton scrollAreaWidgetContents_12; scrollArea_11 QScrollArea groupBox;"
        "scrollAreaWidgetContents_11 QWidget scrollArea_11; label_14 QLabel scrollAreaWidgetContents_11;"
        "FireKey QToolButton scrollAreaWidgetContents_11; label_9 QLabel scrollAreaWidgetContents_11;"
        "RightKey QToolButton scrollAreaWidgetContents_11; label_15 QLabel scrollAreaWidgetContents_11;"
        "BackKey QToolButton scrollAreaWidgetContents_11; label_11 QLabel scrollAreaWidgetContents_11;"
        "StartPause QToolButton scrollAreaWidgetContents_11; label_12 QLabel scrollAreaWidgetContents_11;"
        "TopMusic QToolButton scrollAreaWidgetContents_11; label_13 QLabel scrollAreaWidgetContents_11;"
        "BackMusic QToolButton scrollAreaWidgetContents_11; label_16 QLabel scrollAreaWidgetContents_11;"
        "Button7 QToolButton scrollAreaWidgetContents_11; label_17 QLabel scrollAreaWidgetContents_11;"
        "Button8 QToolButton scrollAreaWidgetContents_11; stackedWidget QStackedWidget groupBox;"
        "page QWidget stackedWidget; page_2 QWidget stackedWidget; scrollArea_4 QScrollArea page_2;"
        "scrollAreaWidgetContents_4 QWidget scrollArea_4; LeftKey_3 QToolButton scrollAreaWidgetContents_4;"
        "RightKey_3 QToolButton scrollAreaWidgetContents_4; MidKey QToolButton scrollAreaWidgetContents_4;"
        "BackKey_2 QToolButton scrollAreaWidgetContents_4; ForWardKey QToolButton scrollAreaWidgetContents_4;"
        "DPI_2 QToolButton scrollAreaWidgetContents_4; DPI_3 QToolButton scrollAreaWidgetContents_4;"
        "DPI_6 MyToolButton scrollAreaWidgetContents_4; DPI_8 MyToolButton scrollAreaWidgetContents_4;"
        "DPI_5 QToolButton scrollAreaWidgetContents_4; DPI_13 QToolButton scrollAreaWidgetContents_4;"
        "DPI_11 QToolButton scrollAreaWidgetContents_4; DPI_4 QToolButton scrollAreaWidgetContents_4;"
        "DPI_9 QToolButton scrollAreaWidgetContents_4; DPI_7 QToolButton scrollAreaWidgetContents_4;"
        "DPI_12 QToolButton scrollAreaWidgetContents_4; DPI_10 QToolButton scrollAreaWidgetContents_4;"
        "ProjectChoose MyConmboBox MainWindow; Reset QToolButton MainWindow;"
};

QString logicalParent(const QWidget* widget)
{
    const QWidget* parent = widget->parentWidget();
    if (parent && parent->objectName() == QLatin1String("qt_scrollarea_viewport"))
        parent = parent->parentWidget();
    return parent ? parent->objectName() : QString();
}

QStringList pageOrder(const QStackedWidget* stack)
{
    QStringList names;
    for (int i = 0; i < stack->count(); ++i)
        names << stack->widget(i)->objectName();
    return names;
}

// The catalogue of the tests: model 1 with its sensor and key count; a second group with
// "KeyNumber" as given.
void writeButtonCatalogue(const TestEnv& env, const QByteArray& keyNumberLine = "KeyNumber=8\n")
{
    writeCatalogue(env, "Sensor=" + testcatalogue::encoded({QStringLiteral("3311")}) + "\n" + keyNumberLine,
                   "ButtonColor=1, 2, 3\nLabelColor=4, 5, 6\n");
}

FlashDataMap imageWithBindings(std::initializer_list<std::pair<int, ButtonBinding>> bindings)
{
    FlashDataMap image{};
    for (const auto& b : bindings)
        image.buttons[b.first] = b.second;
    return image;
}

// Points along a polyline, `step` pixels apart.
QVector<QPointF> pointsAlong(const QPolygonF& line, qreal step)
{
    QVector<QPointF> list;
    for (int i = 0; i + 1 < line.size(); ++i) {
        const QLineF leg(line.at(i), line.at(i + 1));
        const int count = qMax(1, int(leg.length() / step));
        for (int n = 0; n <= count; ++n)
            list << leg.pointAt(qreal(n) / count);
    }
    return list;
}

qreal pointToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const qreal length2 = QPointF::dotProduct(ab, ab);
    const qreal t = length2 > 0 ? qBound(0.0, QPointF::dotProduct(p - a, ab) / length2, 1.0) : 0.0;
    return QLineF(p, a + ab * t).length();
}

qreal distanceTo(const QPolygonF& line, QPointF p)
{
    qreal best = std::numeric_limits<qreal>::max();
    for (int i = 0; i + 1 < line.size(); ++i)
        best = std::min(best, pointToSegment(p, line.at(i), line.at(i + 1)));
    return best;
}

// The circle a marker shows: its plate, 2 px inside the button, with its ring.
qreal circleRadius(const QRectF& marker)
{
    return marker.width() / 2 - 1;
}

// How far a line's end keeps from the other lines and from the markers.
constexpr qreal EndGap = 9;

// The shortest distance between two polylines; 0 where they cross.
qreal polylineDistance(const QPolygonF& one, const QPolygonF& two)
{
    const auto legs = [](const QPolygonF& line) {
        QVector<QLineF> list;
        for (int i = 0; i + 1 < line.size(); ++i)
            list << QLineF(line.at(i), line.at(i + 1));
        return list;
    };
    qreal best = std::numeric_limits<qreal>::max();
    for (const QLineF& a : legs(one))
        for (const QLineF& b : legs(two)) {
            if (a.intersects(b, nullptr) == QLineF::BoundedIntersection)
                return 0;
            best = std::min({best, pointToSegment(a.p1(), b.p1(), b.p2()), pointToSegment(a.p2(), b.p1(), b.p2()),
                pointToSegment(b.p1(), a.p1(), a.p2()), pointToSegment(b.p2(), a.p1(), a.p2())});
        }
    return best;
}

}  // namespace

class ButtonPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> m_env;

    QString text(Buttoninterface& page, const char* name)
    {
        return page.findChild<QAbstractButton*>(QString::fromLatin1(name))->text();
    }

private slots:
    // One program folder for all tests: staging the pictures is the slow part.
    void initTestCase()
    {
        m_env = std::make_unique<TestEnv>();
        m_env->stageShippedData();
        MacroSetting::reload();
    }

    void cleanupTestCase()
    {
        m_env.reset();
    }

    void init()
    {
        // Back to the shipped files a test may have changed.
        QStringList shipped{QStringLiteral("driver_sensor.h")};
        for (const QString& file : QDir(QStringLiteral(KAVRO_OUTPUT_DIR "/Language")).entryList(QDir::Files))
            shipped << QStringLiteral("Language/") + file;
        for (const QString& file : shipped) {
            QFile::remove(m_env->programDir() + QLatin1Char('/') + file);
            QFile::copy(QStringLiteral(KAVRO_OUTPUT_DIR "/") + file, m_env->programDir() + QLatin1Char('/') + file);
        }
        QDir(DeviceCacheFolder()).removeRecursively();
        writeButtonCatalogue(*m_env);
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("0"));
        LoadSensorHeader();
        resetFlags();
        DeviceAllInfo record;
        record.modelIndex = 0;
        SetCurrentDeviceRecord(record);
        ChosenModelId = 1;
    }

    // Names, classes and parents as the page's code and the language file rely on them.
    void formHoldsEveryObject()
    {
        QWidget host;
        Ui::Buttoninterface ui;
        ui.setupUi(&host);
        QCOMPARE(host.objectName(), QStringLiteral("Buttoninterface"));
        QCOMPARE(host.size(), QSize(883, 630));
        int count = 0;
        for (const char* row : FormObjects) {
            for (const QString& entry : QString::fromLatin1(row).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                const QStringList parts = entry.simplified().split(QLatin1Char(' '));
                QCOMPARE(parts.size(), 3);
                auto* widget = host.findChild<QWidget*>(parts.at(0));
                QVERIFY2(widget, qPrintable(parts.at(0)));
                QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), parts.at(1));
                const QString parent = parts.at(2) == QLatin1String("Buttoninterface") ? host.objectName() : parts.at(2);
                QCOMPARE(logicalParent(widget), parent);
                ++count;
            }
        }
        QCOMPARE(count, 124);
        QCOMPARE(pageOrder(ui.stackedWidget), (QStringList{"page", "page_2"}));
        QCOMPARE(pageOrder(ui.stackedWidget_2),
                 (QStringList{"page_3", "page_5", "page_6", "page_8", "page_9", "page_4", "page_7", "page_10"}));
        // The form ends on these pages, before any slot is connected.
        QCOMPARE(ui.stackedWidget->currentWidget(), ui.page_2);
        QCOMPARE(ui.stackedWidget_2->currentWidget(), ui.page_7);
        // Created later, the function-type list lies above the key list it overlaps.
        const QObjectList& siblings = ui.groupBox->children();
        QVERIFY(siblings.indexOf(ui.stackedWidget) > siblings.indexOf(ui.scrollArea_11));
        QVERIFY(!ui.FireKey->isChecked());
        QCOMPARE(ui.FireKey->geometry(), QRect(30, 5, 262, 26));
        QCOMPARE(ui.TopMusic->geometry(), QRect(30, 144, 262, 26));
        QCOMPARE(ui.DebunceButton->parentWidget(), ui.groupBox_2);
        QCOMPARE(ui.Number6->geometry(), QRect(304, 145, 38, 38));
    }

    void constructorStartState()
    {
        Buttoninterface page;
        auto* ui = page.findChild<QStackedWidget*>(QStringLiteral("stackedWidget"));
        auto* functions = page.findChild<QStackedWidget*>(QStringLiteral("stackedWidget_2"));
        QCOMPARE(ui->currentWidget()->objectName(), QStringLiteral("page"));
        QCOMPARE(functions->currentWidget()->objectName(), QStringLiteral("page_9"));
        page.show();
        for (const char* hidden : {"Number8", "Button8", "label_17", "DPI_3", "VolumeUp_4", "VolumeUp_5", "VolumeUp_6"})
            QVERIFY2(page.findChild<QWidget*>(QString::fromLatin1(hidden))->isHidden(), hidden);
        QVERIFY(page.BindingType.isEmpty());
        QCOMPARE(page.PicturePath, m_env->programDir() + QStringLiteral("/Picture/Buttoninterface/"));
        QVERIFY(QFileInfo(page.MainPageFolder).isDir());
        QCOMPARE(page.ButtonColorText, QStringLiteral("1,2,3"));
        // The English section is loaded at construction.
        QCOMPARE(text(page, "DPI_5"), QStringLiteral("Disable"));
        QCOMPARE(page.MacroPrefixText, QStringLiteral("Macro_"));
    }

    // The page lies on the frame's own background: its outer frame draws no light edge.
    void pageDrawsNoEdgeOfItsOwn()
    {
        Buttoninterface page;
        page.resize(883, 630);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        auto* frame = page.findChild<QFrame*>(QStringLiteral("MainWindow"));
        const QImage image = frame->grab().toImage();
        // Left edge and top edge, well away from every control, against the pixels just inside.
        for (const QPoint& inside : {QPoint(3, image.height() / 2), QPoint(image.width() / 2, 3)}) {
            const QPoint edge(inside.x() == 3 ? 0 : inside.x(), inside.y() == 3 ? 0 : inside.y());
            QCOMPARE(image.pixelColor(edge), image.pixelColor(inside));
        }
    }

    // Every model's mouse picture, with the markers where the page puts them. Marker k's line
    // starts at the marker, is drawn in the picture, keeps clear of every other marker, line
    // and line end, and ends, on the drawn dot, inside the region of button k that the picture
    // generator wrote beside the pictures, as far from every marker's circle as from the other
    // lines' ends. No marker's circle lies on a button. The mouse's body there is the one
    // drawn, its front points up as on the model's tile, and it is not mirrored.
    void markerLinesAndMouseFront_data()
    {
        QTest::addColumn<int>("mid");
        for (int mid : {1, 2, 4, 5, 6, 10, 13, 14, 15, 19, 20})
            QTest::newRow(qPrintable(QStringLiteral("MID %1, picture %2").arg(mid).arg(choicePictureNumber(mid))))
                    << mid;
    }

    void markerLinesAndMouseFront()
    {
        QFETCH(int, mid);
        const QString folder = QStringLiteral(KAVRO_OUTPUT_DIR "/Picture/Buttoninterface/");
        QFile file(folder + QStringLiteral("MouseButtons.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonArray pictures = QJsonDocument::fromJson(file.readAll()).array();
        const auto points = [](const QJsonValue& value) {
            QPolygonF polygon;
            for (const QJsonValue& point : value.toArray())
                polygon << QPointF(point.toArray().at(0).toDouble(), point.toArray().at(1).toDouble());
            return polygon;
        };
        Buttoninterface page;
        const int picture = choicePictureNumber(mid);
        QVERIFY(picture >= 0 && picture < pictures.size());
        ChosenModelId = mid;
        page.SlotMouseIndex(picture);
        QMap<int, QRectF> markers;
        for (int k = 1; k <= 8; ++k) {
            auto* marker = page.findChild<QToolButton*>(QStringLiteral("Number%1").arg(k));
            if (marker->isVisibleTo(&page))
                markers.insert(k, QRectF(marker->geometry()));
        }
        const QJsonObject entry = pictures.at(picture).toObject();
        QCOMPARE(entry.value(QStringLiteral("picture")).toString(), QStringLiteral("mouse%1.png").arg(picture));
        const QImage image = QImage(folder + entry.value(QStringLiteral("picture")).toString())
                                     .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.size(), page.findChild<QWidget*>(QStringLiteral("widget"))->size());

        QMap<int, QPolygonF> lines;
        QMap<int, QPolygonF> buttons;
        for (const QJsonValue& value : entry.value(QStringLiteral("markers")).toArray()) {
            const QJsonObject leader = value.toObject();
            const int k = leader.value(QStringLiteral("marker")).toInt();
            QVERIFY2(!lines.contains(k), qPrintable(QStringLiteral("marker %1 twice").arg(k)));
            lines.insert(k, points(leader.value(QStringLiteral("line"))));
            buttons.insert(k, points(leader.value(QStringLiteral("button"))));
        }
        QCOMPARE(lines.keys(), markers.keys());  // every marker shown has its line, and no other

        // A leader line passes this pixel or one next to it: the line's cyan, alone or over
        // the mouse.
        const auto lineAt = [&image](QPointF at) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QColor c = image.pixelColor(at.toPoint() + QPoint(dx, dy));
                    if (c.alpha() > 100 && c.blue() > 150 && c.blue() > c.red() + 100)
                        return true;
                }
            return false;
        };
        for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
            const int k = it.key();
            const QPolygonF& line = it.value();
            const QPolygonF& button = buttons.value(k);
            const QString where = QStringLiteral("marker %1").arg(k);
            QVERIFY2(line.size() >= 2 && button.size() >= 3, qPrintable(where));
            QVERIFY2(QLineF(line.first(), markers.value(k).center()).length() < 1, qPrintable(where));
            const QPointF end = line.last();
            QVERIFY2(button.containsPoint(end, Qt::OddEvenFill), qPrintable(where));
            // The dot at the line's end is drawn in the picture, and so is the line outside
            // its own marker up to the dot's rim.
            const QColor dot = image.pixelColor(end.toPoint());
            QVERIFY2(dot.blue() > 200 && dot.green() > 150 && dot.red() < 100, qPrintable(where));
            const QRectF own = markers.value(k).adjusted(-1, -1, 1, 1);
            for (const QPointF& on : pointsAlong(line, 1.0))
                QVERIFY2(own.contains(on) || QLineF(on, end).length() < 7 || lineAt(on),
                    qPrintable(where + QStringLiteral(" not drawn at %1,%2").arg(on.x()).arg(on.y())));

            for (auto other = markers.cbegin(); other != markers.cend(); ++other) {
                QVERIFY2(QLineF(end, other.value().center()).length() - circleRadius(other.value()) >= EndGap,
                    qPrintable(where + QStringLiteral("'s end comes close to marker %1").arg(other.key())));
                if (other.key() == k)
                    continue;
                const QRectF around = other.value().adjusted(-2, -2, 2, 2);
                for (const QPointF& on : pointsAlong(line, 1.0))
                    QVERIFY2(!around.contains(on),
                        qPrintable(where + QStringLiteral(" crosses marker %1").arg(other.key())));
            }
            for (auto other = lines.cbegin(); other != lines.cend(); ++other) {
                if (other.key() == k)
                    continue;
                const QString pair = where + QStringLiteral(" and line %1").arg(other.key());
                QVERIFY2(polylineDistance(line, other.value()) >= 4, qPrintable(pair + QStringLiteral(" come close")));
                QVERIFY2(distanceTo(line, other.value().last()) >= EndGap,
                    qPrintable(pair + QStringLiteral("'s end come close")));
            }
        }
        // A marker on a button would read as that button's.
        for (auto marker = markers.cbegin(); marker != markers.cend(); ++marker) {
            const QPointF centre = marker.value().center();
            for (auto button = buttons.cbegin(); button != buttons.cend(); ++button) {
                QPolygonF outline = button.value();
                outline << outline.first();
                QVERIFY2(!button.value().containsPoint(centre, Qt::OddEvenFill)
                             && distanceTo(outline, centre) > circleRadius(marker.value()),
                    qPrintable(QStringLiteral("marker %1 on button %2").arg(marker.key()).arg(button.key())));
            }
        }

        // The body outline is the mouse drawn: opaque well inside it, see-through well outside
        // (the thumb buttons stand out a little, the floor's light is faint).
        const QPolygonF body = points(entry.value(QStringLiteral("body")));
        QVERIFY(body.size() >= 8);
        for (int y = 1; y < image.height(); y += 3)
            for (int x = 1; x < image.width(); x += 3) {
                const QPointF at(x, y);
                if (distanceTo(body, at) < 6)
                    continue;
                const bool opaque = image.pixelColor(x, y).alpha() == 255;
                bool onLine = false;
                for (const QPolygonF& line : lines)
                    onLine = onLine || distanceTo(line, at) < 6;
                if (!onLine)
                    QVERIFY2(opaque == body.containsPoint(at, Qt::OddEvenFill),
                        qPrintable(QStringLiteral("body outline at %1,%2").arg(x).arg(y)));
            }
        // The main buttons lie towards the front: from the body's middle they point up,
        // turned by at most 60 degrees. Seen from above, left button on the left, the thumb
        // buttons on the left side.
        const QPointF middle = body.boundingRect().center();
        const QPointF front = (buttons.value(1).boundingRect().center() + buttons.value(2).boundingRect().center()) / 2
                              - middle;
        QVERIFY2(-front.y() >= std::hypot(front.x(), front.y()) * 0.5,
            qPrintable(QStringLiteral("front points %1,%2").arg(front.x()).arg(front.y())));
        const QPointF left(front.y(), -front.x());  // the front turned a quarter to the left
        const auto leftOf = [&](int k) {
            const QPointF d = buttons.value(k).boundingRect().center() - middle;
            return d.x() * left.x() + d.y() * left.y();
        };
        QVERIFY(leftOf(1) > leftOf(2));
        QVERIFY(leftOf(4) > 0 && leftOf(5) > 0);
    }

    // Every picture a style sheet of the page names is drawn by the build.
    void stylePicturesExist()
    {
        Buttoninterface page;
        page.SlotMouseIndex(0);
        const QRegularExpression url(QStringLiteral("url\\(\"([^\"]+)\"\\)"));
        QSet<QString> files;
        QList<QWidget*> widgets = page.findChildren<QWidget*>();
        widgets << &page;  // the page's own sheet holds most pictures
        for (QWidget* widget : qAsConst(widgets)) {
            auto it = url.globalMatch(widget->styleSheet());
            while (it.hasNext())
                files.insert(it.next().captured(1));
        }
        QVERIFY(files.size() >= 21);
        for (int k = 0; k <= 10; ++k)
            files.insert(page.PicturePath + QStringLiteral("mouse%1.png").arg(k));
        for (const QString& file : files)
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
        QCOMPARE(QImage(page.PicturePath + QStringLiteral("mouse4.png")).size(), QSize(432, 356));
    }

    void bindingTexts_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code1");
        QTest::addColumn<QString>("source");  // empty: the selector keeps its text
        QTest::newRow("back on TopMusic") << 3 << 1 << 8 << "BackKey_2";
        QTest::newRow("no mouse button 3") << 3 << 1 << 3 << "";
        QTest::newRow("light cycle 3") << 6 << 8 << 3 << "VolumeUp_7";
        QTest::newRow("light cycle 4") << 6 << 8 << 4 << "VolumeUp_7";
        // Codes without a button of their own: the function list they belong to.
        QTest::newRow("light code 2") << 6 << 8 << 2 << "DPI_9";
        QTest::newRow("DPI code 9") << 4 << 2 << 9 << "DPI_7";
        QTest::newRow("scroll code 3") << 2 << 3 << 3 << "DPI_11";
        QTest::newRow("scroll code 0") << 2 << 11 << 0 << "DPI_13";
        QTest::newRow("no function") << 0 << 0 << 77 << "DPI_5";
        QTest::newRow("fire key") << 1 << 4 << 10 << "DPI_6";
        QTest::newRow("rate switch") << 5 << 7 << 0 << "DPI_2";
        QTest::newRow("profile switch") << 2 << 9 << 0 << "DPI_3";
        QTest::newRow("DPI down") << 4 << 2 << 3 << "VolumeUp_10";
        QTest::newRow("scroll right") << 2 << 3 << 2 << "VolumeDown_2";
        QTest::newRow("scroll down") << 2 << 11 << 2 << "VolumeDown_14";
        QTest::newRow("unknown type") << 2 << 12 << 1 << "";
    }

    void bindingTexts()
    {
        QFETCH(int, index);
        QFETCH(int, type);
        QFETCH(int, code1);
        QFETCH(QString, source);
        Buttoninterface page;
        auto* selector = page.findChild<QToolButton*>(SelectorTable::selectorName(index));
        selector->setText(QStringLiteral("before"));
        page.ShowBinding(index, type, code1, 0, FlashDataMap{});
        QCOMPARE(selector->text(), source.isEmpty() ? QStringLiteral("before") : text(page, qPrintable(source)));
        page.ShowBinding(8, 1, 1, 0, FlashDataMap{});  // no selector: nothing happens
        page.ShowBinding(-1, 1, 1, 0, FlashDataMap{});
    }

    // Types that read the key's record: combinations, media keys, DPI locks.
    void recordTexts_data()
    {
        QTest::addColumn<QByteArray>("sensor");
        QTest::addColumn<QByteArray>("combo");  // record of device key 0
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code1");
        QTest::addColumn<QString>("expected");  // "=Name": the text of that button
        const auto record = [](int count, std::initializer_list<std::pair<int, int>> events) {
            ButtonComboRecord r{};
            r.eventCount = uint8_t(count);
            int e = 0;
            for (const auto& [kind, code] : events)
                r.events[e++] = KeyEvent{0, uint8_t(kind), uint16_t(code), 10};
            return QByteArray(reinterpret_cast<const char*>(&r), sizeof r);
        };
        QTest::newRow("Ctrl+Alt+Del") << QByteArray("3311") << record(6, {{0, 1}, {0, 4}, {1, 0x4C}}) << 5 << 0
                                      << "Ctrl+Alt+Del";
        QTest::newRow("count 0") << QByteArray("3311") << record(0, {{0, 1}}) << 5 << 0 << "";
        QTest::newRow("count 200") << QByteArray("3311")
                                   << record(200, {{1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9}}) << 5 << 0 << "A+B+C";
        QTest::newRow("volume up") << QByteArray("3311") << record(2, {{2, 0x00E9}}) << 5 << 0 << "=VolumeDown";
        QTest::newRow("unknown media") << QByteArray("3311") << record(2, {{2, 0x00E8}}) << 5 << 0 << "before";
        QTest::newRow("DPI lock 400") << QByteArray("3395") << QByteArray() << 10 << 7 << "=DPI_4-400";
        QTest::newRow("DPI lock of a define") << QByteArray("3311") << QByteArray() << 10 << 0x10 << "=DPI_4-1600";
    }

    void recordTexts()
    {
        QFETCH(QByteArray, sensor);
        QFETCH(QByteArray, combo);
        QFETCH(int, type);
        QFETCH(int, code1);
        QFETCH(QString, expected);
        writeButtonCatalogue(*m_env, "KeyNumber=8\nSensor=" + testcatalogue::encoded({QString::fromLatin1(sensor)}) + "\n");
        Buttoninterface page;
        page.findChild<QToolButton*>(QStringLiteral("FireKey"))->setText(QStringLiteral("before"));
        FlashDataMap image = imageWithBindings({{0, {uint8_t(type), uint8_t(code1), 0}}});
        std::memcpy(&image.combos[0], combo.constData(), size_t(combo.size()));
        PostMsg::instance()->SendUpDataLightUIButton(image);
        if (expected.startsWith(QLatin1Char('='))) {
            const QStringList parts = expected.mid(1).split(QLatin1Char('-'));
            expected = text(page, qPrintable(parts.at(0))) + (parts.size() > 1 ? QStringLiteral("-") + parts.at(1) : QString());
        }
        QCOMPARE(text(page, "FireKey"), expected);
    }

    // The seventh and eighth selectors read the records of device keys 9 and 11.
    void highSelectorsReadTheirKeysRecords()
    {
        Buttoninterface page;
        FlashDataMap image = imageWithBindings({{9, {5, 0, 0}}, {11, {5, 0, 0}}, {6, {1, 1, 0}}, {7, {1, 1, 0}}});
        image.combos[9] = BuildComboRecord(QStringLiteral("Ctrl+C"));
        image.combos[11] = MediaKeyRecord(0x00E2);
        image.combos[7] = BuildComboRecord(QStringLiteral("Alt"));
        PostMsg::instance()->SendUpDataLightUIButton(image);
        QCOMPARE(text(page, "Button7"), QStringLiteral("Ctrl+C"));
        QCOMPARE(text(page, "Button8"), text(page, "VolumeUp"));
        QCOMPARE(reinterpret_cast<const char*>(&image.combos[11]) - reinterpret_cast<const char*>(&image), 696);
    }

    // A macro binding names the macro, rewrites its repeat line and hands the record to the
    // Macro page; a name that cannot be a file name touches nothing.
    void macroBindingWritesItsRepeatLine()
    {
        Buttoninterface page;
        QSignalSpy handed(PostMsg::instance(), SIGNAL(SigButtonToMacro(FlashDataMap, int)));
        FlashDataMap image = imageWithBindings({{9, {6, 9, 2}}, {11, {6, 11, 255}}});
        WriteMacroRecordName(image.macros[9], QStringLiteral("Test"));
        WriteMacroRecordName(image.macros[11], QStringLiteral("../x"));
        const QString folder = AppPaths::userDataDir() + QStringLiteral("/usersetting/MacroPage/");
        QDir().mkpath(folder);
        for (int round = 0; round < 2; ++round) {
            PostMsg::instance()->SendUpDataLightUIButton(image);
            QCOMPARE(text(page, "Button7"), QStringLiteral("Macro_Test"));
            QCOMPARE(text(page, "Button8"), QStringLiteral("Macro_../x"));
            QFile file(folder + QStringLiteral("Test.ini"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("2\n"));
            QCOMPARE(handed.count(), round + 1);
            QCOMPARE(handed.last().at(1).toInt(), 9);
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"Test.ini"});
        QVERIFY(!QFileInfo::exists(AppPaths::userDataDir() + QStringLiteral("/usersetting/x.ini")));
    }

    // One reading of the header for DPI levels and DPI locks: a bare value is decimal.
    void headerDefinesServeTheDpiLock()
    {
        m_env->writeProgramFile(QStringLiteral("driver_sensor.h"),
                                "#define SENSOR_TST_DPI_400\t26\n#define SENSOR_TST_DPI_800\t0x1A\n"
                                "#define SUPPORT_RIPPLE\tTST\n#define SENSOR_TST_DPI_900 27\n#define SENSOR_TST_DPI_1000");
        LoadSensorHeader();
        QCOMPARE(SensorDefineNames, (QStringList{"SENSOR_TST_DPI_400", "SENSOR_TST_DPI_800"}));
        QCOMPARE(SensorDefineValues, (QList<int>{26, 26}));
        writeButtonCatalogue(*m_env, "KeyNumber=8\nSensor=" + testcatalogue::encoded({QStringLiteral("TST")}) + "\n");
        Buttoninterface page;
        PostMsg::instance()->SendUpDataLightUIButton(imageWithBindings({{0, {10, 26, 0}}}));
        QCOMPARE(text(page, "FireKey"), text(page, "DPI_4") + QStringLiteral("-400"));
    }

    // "KeyNumber" decides how many bindings the page takes, and from which device keys.
    void fillTakesTheModelsKeys_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("count");
        QTest::newRow("eight") << QByteArray("KeyNumber=8\n") << 8;
        QTest::newRow("six") << QByteArray("KeyNumber=6\n") << 6;
        QTest::newRow("missing") << QByteArray() << 0;
        QTest::newRow("not a number") << QByteArray("KeyNumber=many\n") << 0;
        QTest::newRow("twenty") << QByteArray("KeyNumber=20\n") << 8;
    }

    void fillTakesTheModelsKeys()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, count);
        writeButtonCatalogue(*m_env, line);
        Buttoninterface page;
        page.findChild<QToolButton*>(QStringLiteral("Button7"))->setText(QStringLiteral("seventh"));
        FlashDataMap image = imageWithBindings({{3, {1, 8, 0}}, {4, {1, 16, 0}}, {9, {2, 2, 0}}, {11, {3, 1, 7}},
                                                {6, {1, 2, 0}}, {7, {1, 2, 0}}});
        image.debounceMs = 12;
        PostMsg::instance()->SendUpDataLightUIButton(image);
        QCOMPARE(page.BindingType.size(), count);
        QCOMPARE(page.SensorName, QStringLiteral("3311"));
        if (count >= 8) {
            QCOMPARE(page.BindingType.at(6), 2);   // device key 9
            QCOMPARE(page.BindingCode1.at(6), 2);
            QCOMPARE(page.BindingType.at(7), 3);   // device key 11, not key 7
            QCOMPARE(page.BindingCode2.at(7), 7);
            QCOMPARE(text(page, "Button7"), text(page, "VolumeUp_9"));
        } else {
            QCOMPARE(text(page, "Button7"), QStringLiteral("seventh"));
        }
        if (count >= 5) {
            QCOMPARE(text(page, "TopMusic"), text(page, "BackKey_2"));
            QCOMPARE(text(page, "StartPause"), text(page, "ForWardKey"));
        }
        QCOMPARE(int(ButtonPageReady), 1);
        QCOMPARE(int(ButtonPageBusy), 0);
    }

    void profileFillLeavesReadyAlone()
    {
        Buttoninterface page;
        ButtonPageReady = 0;
        PostMsg::instance()->SendUpDataButtonUIC(imageWithBindings({{0, {1, 2, 0}}}));
        QCOMPARE(text(page, "FireKey"), text(page, "RightKey_3"));
        QCOMPARE(int(ButtonPageReady), 0);
        QCOMPARE(int(ButtonPageBusy), 0);
    }

    // The factory state names every selector's factory function, the same each time.
    void factoryState_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("backMusic");
        QTest::newRow("most models") << 1 << "VolumeUp_8";
        QTest::newRow("model 15") << 15 << "DPI_2";
    }

    void factoryState()
    {
        QFETCH(int, model);
        QFETCH(QString, backMusic);
        ChosenModelId = model;
        Buttoninterface page;
        PostMsg::instance()->SendUpDataLightUIButton(imageWithBindings({{0, {1, 2, 0}}, {3, {1, 1, 0}}, {4, {2, 1, 0}}}));
        auto* functions = page.findChild<QStackedWidget*>(QStringLiteral("stackedWidget_2"));
        functions->setCurrentIndex(0);
        for (int round = 0; round < 2; ++round) {
            PostMsg::instance()->SendFormReset();
            QCOMPARE(page.BindingType, (QVector<int>{1, 1, 1, 1, 1, model == 15 ? 7 : 2, 8, 2}));
            QCOMPARE(page.BindingCode1, (QVector<int>{1, 2, 4, 8, 16, model == 15 ? 0 : 1, 3, 3}));
            QCOMPARE(page.BindingCode2, QVector<int>(8, 0));
            QCOMPARE(text(page, "FireKey"), text(page, "LeftKey_3"));
            QCOMPARE(text(page, "RightKey"), text(page, "RightKey_3"));
            QCOMPARE(text(page, "BackKey"), text(page, "MidKey"));
            QCOMPARE(text(page, "TopMusic"), text(page, "BackKey_2"));
            QCOMPARE(text(page, "StartPause"), text(page, "ForWardKey"));
            QCOMPARE(text(page, "BackMusic"), text(page, qPrintable(backMusic)));
            QCOMPARE(text(page, "Button7"), text(page, "VolumeUp_7"));
            QCOMPARE(text(page, "Button8"), text(page, "VolumeUp_10"));
            QCOMPARE(functions->currentWidget()->objectName(), QStringLiteral("page_9"));
            QCOMPARE(int(ButtonPageBusy), 0);
        }
    }

    void mouseIndexPlacesTheMarkers_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("model");
        QTest::addColumn<QPoint>("number6");
        QTest::addColumn<bool>("seventh");
        QTest::addColumn<int>("startPauseY");
        QTest::newRow("picture 8") << 8 << 15 << QPoint(287, 175) << false << 109;
        QTest::newRow("picture 2") << 2 << 4 << QPoint(223, 175) << false << 144;
        QTest::newRow("negative") << -1 << 1 << QPoint(223, 175) << false << 109;
        QTest::newRow("model 6") << 4 << 6 << QPoint(223, 175) << true << 144;
        QTest::newRow("model 10") << 5 << 10 << QPoint(223, 175) << true << 109;
        QTest::newRow("model 1") << 0 << 1 << QPoint(320, 220) << false << 109;
    }

    void mouseIndexPlacesTheMarkers()
    {
        QFETCH(int, index);
        QFETCH(int, model);
        QFETCH(QPoint, number6);
        QFETCH(bool, seventh);
        QFETCH(int, startPauseY);
        ChosenModelId = model;
        Buttoninterface page;
        page.show();
        PostMsg::instance()->SendMouseIndex(index);
        auto* picture = page.findChild<QWidget*>(QStringLiteral("widget"));
        QVERIFY(picture->styleSheet().contains(QStringLiteral("mouse%1.png").arg(index)));
        QCOMPARE(page.findChild<QWidget*>(QStringLiteral("Number6"))->pos(), number6);
        for (const char* name : {"Number7", "Button7", "label_16"})
            QCOMPARE(page.findChild<QWidget*>(QString::fromLatin1(name))->isVisible(), seventh);
        QCOMPARE(page.findChild<QWidget*>(QStringLiteral("StartPause"))->pos(), QPoint(30, startPauseY));
        QCOMPARE(page.findChild<QWidget*>(QStringLiteral("TopMusic"))->pos(), QPoint(30, 253 - startPauseY));
    }

    void profileBox_data()
    {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("select");
        QTest::addColumn<bool>("enable");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("current");
        QTest::newRow("four") << 4 << 2 << true << QStringList{"Profile 1", "Profile 2", "Profile 3", "Profile 4"} << 2;
        QTest::newRow("none reported") << 0 << 3 << false << QStringList{"Profile 1"} << 0;
        QTest::newRow("negative") << -1 << 0 << true << QStringList{} << -1;
    }

    void profileBox()
    {
        QFETCH(int, total);
        QFETCH(int, select);
        QFETCH(bool, enable);
        QFETCH(QStringList, items);
        QFETCH(int, current);
        Buttoninterface page;
        auto* box = page.findChild<QComboBox*>(QStringLiteral("ProjectChoose"));
        QSignalSpy activated(box, SIGNAL(activated(int)));
        PostMsg::instance()->SendUpDataConfigUI(total, select, enable);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        QCOMPARE(shown, items);
        QCOMPARE(box->currentIndex(), current);
        QCOMPARE(box->isEnabled(), enable);
        QCOMPARE(activated.count(), 0);  // the user's choice alone switches the mouse's profile
    }

    void languageFontAndTexts_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("disable");
        QTest::addColumn<bool>("toolTips");
        QTest::newRow("Russian") << 4 << 8 << QString::fromUtf8("Отключить") << false;
        QTest::newRow("Polish") << 2 << 6 << QStringLiteral("Wyłącz") << false;
        QTest::newRow("Japanese") << 5 << 9 << QString::fromUtf8("無効") << true;
        QTest::newRow("index 7") << 7 << 9 << QStringLiteral("Disable") << false;
    }

    void languageFontAndTexts()
    {
        QFETCH(int, index);
        QFETCH(int, points);
        QFETCH(QString, disable);
        QFETCH(bool, toolTips);
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
        Buttoninterface page;
        QCOMPARE(text(page, "DPI_5"), disable);
        for (QToolButton* button : page.functionTypeButtons())
            QCOMPARE(button->font().pointSize(), points);
        auto* import = page.findChild<QToolButton*>(QStringLiteral("ImportData"));
        QCOMPARE(import->toolTip().isEmpty(), !toolTips);
        if (toolTips)
            QCOMPARE(import->toolTip(), import->text());
        // The light-effect cycle also names the seventh key until a fill names its binding.
        QCOMPARE(text(page, "Button7"), text(page, "VolumeUp_7"));
    }

    // A missing or damaged file gives the English texts, and the font of the chosen language is
    // set all the same; a sound section without an element keeps the widget's text.
    void missingOrDamagedFileGivesEnglish()
    {
        Buttoninterface page;
        page.SlotChangeLanguage(2);
        QCOMPARE(text(page, "DPI_5"), QStringLiteral("Wyłącz"));
        QFile::remove(m_env->programDir() + QStringLiteral("/Language/3-Korea.xml"));
        page.SlotChangeLanguage(3);
        QCOMPARE(text(page, "DPI_5"), QStringLiteral("Disable"));
        QCOMPARE(page.functionTypeButtons().first()->font().pointSize(), 9);
        page.SlotChangeLanguage(2);
        QCOMPARE(page.functionTypeButtons().first()->font().pointSize(), 6);

        m_env->writeProgramFile(QStringLiteral("Language/1-Ukrainian.xml"),
                                "<Total><Buttoninterface><Reset>Again</Reset></Buttoninterface></Total>");
        page.SlotChangeLanguage(1);
        QCOMPARE(text(page, "Reset"), QStringLiteral("Again"));
        QCOMPARE(text(page, "MidKey"), QStringLiteral("Środkowy przycisk"));
        const QByteArray damaged[] = {
            "<Total><Buttoninterface><Reset>Again</Reset><DPI_5><b>x</b></DPI_5></Buttoninterface></Total>",
            "<Other><Buttoninterface><Reset>No</Reset></Buttoninterface></Other>",
        };
        for (const QByteArray& file : damaged) {
            page.SlotChangeLanguage(2);
            m_env->writeProgramFile(QStringLiteral("Language/1-Ukrainian.xml"), file);
            page.SlotChangeLanguage(1);
            QCOMPARE(text(page, "Reset"), QStringLiteral("Reset"));
            QCOMPARE(text(page, "MidKey"), QStringLiteral("Middle click"));
        }
    }

    // A change redraws the selectors from this mouse's configuration and renames the profile
    // items; the first load only renames.
    void languageChangeRedrawsSelectorsAndProfiles()
    {
        const FlashDataMap image = imageWithBindings({{0, {1, 4, 0}}, {5, {0, 0, 0}}});
        QVERIFY(WriteDeviceInfoFile(QStringLiteral("Device_CID0A_MID01.bin"), image));
        SetChosenCacheName(QStringLiteral("Device_CID0A_MID01.bin"));
        Buttoninterface page;
        PostMsg::instance()->SendUpDataConfigUI(4, 1, true);
        PostMsg::instance()->SendUpDataButtonUIC(image);
        QCOMPARE(text(page, "FireKey"), QStringLiteral("Middle click"));

        PostMsg::instance()->SendChangeLanguage(5);
        QCOMPARE(text(page, "FireKey"), QString::fromUtf8("中クリック"));
        QCOMPARE(text(page, "BackMusic"), QString::fromUtf8("無効"));
        auto* box = page.findChild<QComboBox*>(QStringLiteral("ProjectChoose"));
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->currentIndex(), 1);
        QCOMPARE(box->itemText(3), QString::fromUtf8("設定4"));

        // The working image holds this mouse's configuration: it wins over the cache file.
        LoadWorkingImage(imageWithBindings({{0, {1, 2, 0}}}));
        PostMsg::instance()->SendChangeLanguage(0);
        QCOMPARE(text(page, "FireKey"), QStringLiteral("Right click"));
    }

    // Without the working image or a cache file of this mouse the selectors keep their texts.
    void languageChangeWithoutConfigurationKeepsSelectors()
    {
        Buttoninterface page;
        PostMsg::instance()->SendUpDataButtonUIC(imageWithBindings({{0, {1, 4, 0}}}));
        SetChosenCacheName(QStringLiteral("Device_CID0A_MID09.bin"));
        PostMsg::instance()->SendChangeLanguage(4);
        QCOMPARE(text(page, "DPI_5"), QString::fromUtf8("Отключить"));
        QCOMPARE(text(page, "FireKey"), QString::fromUtf8("Левая кнопка"));  // the section's own text
    }
};

QTEST_MAIN(ButtonPageTest)
#include "tst_button_page.moc"
