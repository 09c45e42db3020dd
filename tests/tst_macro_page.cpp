// The macro editor page: hand insertion and deletion over row lists, loading and saving macro
// files, the macro list, new / rename / delete with their notices, recording state, keys and
// the language. Offscreen, notices answered by the modal driver, a temporary home per test.
#include "MacroPageFixture.h"
#include "support/ModalAnswerer.h"
#include "support/Wait.h"

#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/UserConfig.h"
#include "device/KeyNames.h"
#include "device/MacroFiles.h"
#include "device/SharedFlags.h"
#include "pages/macro/Macro.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>
#include <QAbstractItemView>
#include <QScreen>
#include <QtTest>

#include <memory>

using namespace macropage;

namespace {

// What the hub sent of one signal, as argument lists.
QList<QVariantList> sent(const QSignalSpy& spy) { return QList<QVariantList>(spy); }

}  // namespace

class MacroPageTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void insertKeyEvent_data();
    void insertKeyEvent();
    void insertMouseEvent_data();
    void insertMouseEvent();
    void insertDelayEvent_data();
    void insertDelayEvent();
    void deleteKey_data();
    void deleteKey();
    void editingNeedsAMacro();
    void mouseItemsInsertTheirButtons();
    void loadsRepeatAndRows_data();
    void loadsRepeatAndRows();
    void unreadableFilesLoadEmptyAndStayUntouched();
    void saveWritesRepeatAndRows();
    void repeatOnlyChangeEmitsOnlyRepeat();
    void failedSaveKeepsEverything();
    void listing();
    void anotherEntryLoadsHowever_data();
    void anotherEntryLoadsHowever();
    void deleteMacro();
    void managingRefusedWhileRecording();
    void startAndStop();
    void startWithoutMacroShowsNotice();
    void keysAndFocus();
    void contextMenuEntries();
    void languageChange();
    void eventChooserShowsFiveRowsAtATime();

private:
    std::unique_ptr<Macro> pageWithMacro(const QString& name, const QByteArray& text);
    std::unique_ptr<Macro> pageWithRows(const QStringList& rows, int currentRow);
    static QString path(const QString& name) { return macroPath(name); }
    template <typename T>
    static T* child(Macro& page, const char* name)
    {
        return page.findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<TestEnv> m_env;
};

void MacroPageTest::init() { m_env = makeEnv(); }

void MacroPageTest::cleanup()
{
    MacroRecording = 0;
    m_env.reset();
}

std::unique_ptr<Macro> MacroPageTest::pageWithMacro(const QString& name, const QByteArray& text)
{
    writeMacro(name, text);
    auto page = std::make_unique<Macro>();
    auto* list = child<QListWidget>(*page, "listWidgetHong");
    const auto found = list->findItems(name, Qt::MatchExactly);
    if (!found.isEmpty())
        list->setCurrentItem(found.first());
    return page;
}

std::unique_ptr<Macro> MacroPageTest::pageWithRows(const QStringList& rows, int currentRow)
{
    auto page = pageWithMacro("T", MacroFileText(1, rowsOf(rows)));
    child<QListWidget>(*page, "listWidgetKey")->setCurrentRow(currentRow);
    return page;
}

// ---- hand insertion and deletion ----------------------------------------------------------

void MacroPageTest::insertKeyEvent_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty") << QStringList{} << -1 << QStringList{"10ms", "K"};
    QTest::newRow("r 0 after the first delay") << QStringList{"A", "5ms", "A^", "5ms", "B"} << 0
                                               << QStringList{"A", "5ms", "K", "10ms", "A^", "5ms", "B"};
    QTest::newRow("r 0 on one row, clamped") << QStringList{"A"} << 0 << QStringList{"A", "K", "10ms"};
    QTest::newRow("last row") << QStringList{"A", "5ms", "A^"} << 2 << QStringList{"A", "5ms", "A^", "10ms", "K"};
    QTest::newRow("no current row") << QStringList{"A", "5ms", "A^"} << -1 << QStringList{"A", "5ms", "A^", "10ms", "K"};
    QTest::newRow("after a delay") << QStringList{"A", "5ms", "A^", "6ms", "B"} << 3
                                   << QStringList{"A", "5ms", "A^", "6ms", "K", "10ms", "B"};
    QTest::newRow("after a key") << QStringList{"A", "5ms", "A^", "6ms", "B"} << 2
                                 << QStringList{"A", "5ms", "A^", "6ms", "K", "10ms", "B"};
}

void MacroPageTest::insertKeyEvent()
{
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    auto page = pageWithRows(rows, current);
    page->InsertKeyEvent("K", true);
    QCOMPARE(textsOf(page->rows()), after);
    QCOMPARE(child<QListWidget>(*page, "listWidgetKey")->currentRow(), current);
    QVERIFY(page->EventsChanged);
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());
}

void MacroPageTest::insertMouseEvent_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty") << QStringList{} << -1 << QStringList{"P", "10ms", "P^"};
    QTest::newRow("r 0") << QStringList{"A", "5ms", "A^"} << 0 << QStringList{"A", "5ms", "P", "10ms", "P^", "10ms", "A^"};
    QTest::newRow("no current row") << QStringList{"A"} << -1 << QStringList{"A", "10ms", "P", "10ms", "P^"};
    QTest::newRow("last row") << QStringList{"A", "5ms", "A^"} << 2 << QStringList{"A", "5ms", "A^", "10ms", "P", "10ms", "P^"};
    QTest::newRow("key row") << QStringList{"A", "5ms", "A^", "6ms", "B"} << 2
                             << QStringList{"A", "5ms", "A^", "10ms", "P", "10ms", "P^", "6ms", "B"};
    QTest::newRow("delay row") << QStringList{"A", "5ms", "A^", "6ms", "B"} << 1
                               << QStringList{"A", "5ms", "P", "10ms", "P^", "10ms", "A^", "6ms", "B"};
}

void MacroPageTest::insertMouseEvent()
{
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    auto page = pageWithRows(rows, current);
    page->InsertMouseEvent("P");
    QCOMPARE(textsOf(page->rows()), after);
}

void MacroPageTest::insertDelayEvent_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("currentAfter");
    const QStringList rows{"A", "5ms", "A^", "B", "B^"};
    QTest::newRow("no current row") << rows << -1 << QStringList{"A", "5ms", "A^", "B", "B^", "70ms"} << -1;
    QTest::newRow("r 0 nothing") << rows << 0 << rows << 0;
    QTest::newRow("replace a delay") << rows << 1 << QStringList{"A", "70ms", "A^", "B", "B^"} << 1;
    QTest::newRow("the delay before a key") << rows << 2 << QStringList{"A", "70ms", "A^", "B", "B^"} << 1;
    QTest::newRow("between two keys") << rows << 4 << QStringList{"A", "5ms", "A^", "B", "70ms", "B^"} << 4;
}

void MacroPageTest::insertDelayEvent()
{
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    QFETCH(int, currentAfter);
    auto page = pageWithRows(rows, current);
    page->InsertDelayEvent(70);
    QCOMPARE(textsOf(page->rows()), after);
    QCOMPARE(child<QListWidget>(*page, "listWidgetKey")->currentRow(), currentAfter);
    QCOMPARE(page->EventsChanged, after != rows);
}

void MacroPageTest::deleteKey_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("after");
    const QStringList rows{"A", "5ms", "A^", "6ms", "B"};
    QTest::newRow("three rows cleared") << QStringList{"A", "5ms", "A^"} << 1 << QStringList{};
    QTest::newRow("last row") << rows << 4 << QStringList{"A", "5ms", "A^"};
    QTest::newRow("delay") << rows << 3 << QStringList{"A", "5ms", "B"};
    QTest::newRow("key") << rows << 2 << QStringList{"A", "5ms", "B"};
    QTest::newRow("first key") << rows << 0 << QStringList{"A^", "6ms", "B"};
    QTest::newRow("delay in row 0") << QStringList{"10ms", "A", "5ms", "A^"} << 0 << QStringList{"5ms", "A^"};
    QTest::newRow("no current row") << rows << -1 << rows;
}

void MacroPageTest::deleteKey()
{
    QFETCH(QStringList, rows);
    QFETCH(int, current);
    QFETCH(QStringList, after);
    auto page = pageWithRows(rows, current);
    child<QToolButton>(*page, "DeleteKey")->click();
    QCOMPARE(textsOf(page->rows()), after);
    QCOMPARE(page->EventsChanged, after != rows);
}

void MacroPageTest::editingNeedsAMacro()
{
    Macro page;
    page.InsertKeyEvent("A", true);  // the page's own insertion still works on the list...
    auto* list = child<QListWidget>(page, "listWidgetKey");
    list->clear();
    page.AddKeyItem("A", true);  // ...but the appends and the buttons need a macro
    page.AddDelayItem(5);
    QCOMPARE(list->count(), 0);
    QMetaObject::invokeMethod(child<QComboBox>(page, "ChooseEvent"), "activated", Q_ARG(int, 4));
    child<QToolButton>(page, "DeleteKey")->click();
    QCOMPARE(list->count(), 0);
}

void MacroPageTest::mouseItemsInsertTheirButtons()
{
    auto page = pageWithMacro("M", "1\n");
    auto* choose = child<QComboBox>(*page, "ChooseEvent");
    QCOMPARE(choose->count(), 9);
    // Items 4..8: left, right, middle, forward, back.
    const int bits[] = {0x01, 0x02, 0x04, 0x10, 0x08};
    for (int item = 4; item <= 8; ++item) {
        child<QListWidget>(*page, "listWidgetKey")->clear();
        QMetaObject::invokeMethod(choose, "activated", Q_ARG(int, item));
        const MacroRows rows = page->rows();
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0].text, choose->itemText(item));
        const QByteArray code = QStringLiteral("0x%1").arg(bits[item - 4], 2, 16, QLatin1Char('0')).toUpper().replace("X", "x").toLatin1();
        QCOMPARE(MacroRowLines(rows), code + " 4 0\n10ms\n" + code + " 4 1\n");
    }
}

// ---- files ----------------------------------------------------------------------------------

void MacroPageTest::loadsRepeatAndRows_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("ticked");
    QTest::addColumn<int>("count");
    QTest::newRow("255") << QByteArray("255\n0x04 1 0\n15ms\n0x04 1 1\n") << "ReUntilClick" << 1;
    QTest::newRow("254") << QByteArray("254\n") << "ReUntilLoose" << 1;
    QTest::newRow("253") << QByteArray("253\n") << "ReUntil" << 1;
    QTest::newRow("0") << QByteArray("0\n") << "ReNumber" << 1;
    QTest::newRow("300") << QByteArray("300\n") << "ReNumber" << 1;
    QTest::newRow("250") << QByteArray("250\n") << "ReNumber" << 250;
    QTest::newRow("empty file") << QByteArray() << "ReNumber" << 1;
}

void MacroPageTest::loadsRepeatAndRows()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, ticked);
    QFETCH(int, count);
    auto page = pageWithMacro("Fire", text);
    QVERIFY(page->findChild<QCheckBox*>(ticked)->isChecked());
    QCOMPARE(child<QSpinBox>(*page, "NumberEdit")->value(), count);
    QCOMPARE(page->rows(), ParseMacroText(text).rows);
    QVERIFY(!child<QToolButton>(*page, "Save")->isEnabled());
    QVERIFY(!page->RepeatChanged);
    if (text.startsWith("255")) {
        QCOMPARE(textsOf(page->rows()), (QStringList{"A", "15ms", "A^"}));
        auto* list = child<QListWidget>(*page, "listWidgetKey");
        QCOMPARE(list->item(0)->type(), 0);
        QCOMPARE(list->item(2)->type(), 1);
    }
}

void MacroPageTest::unreadableFilesLoadEmptyAndStayUntouched()
{
    const QByteArray big = "1\n" + QByteArray(2 * 1024 * 1024, 'x');
    QVERIFY(writeMacro("Big", big));
    QVERIFY(writeMacro("Folder", "1\n"));
    Macro page;
    // A folder where the file should be: listed, unreadable.
    QVERIFY(QFile::remove(path("Folder")));
    QVERIFY(QDir().mkpath(path("Folder") + "/inside"));
    auto* list = child<QListWidget>(page, "listWidgetHong");
    for (const char* name : {"Big", "Folder"}) {
        list->setCurrentItem(list->findItems(name, Qt::MatchExactly).value(0));
        QCOMPARE(page.currentMacroName(), QString(name));
        QVERIFY(page.rows().isEmpty());
        QVERIFY(!child<QToolButton>(page, "Save")->isEnabled());
        page.InsertMouseEvent("X");  // edits never enable a write over the file
        QVERIFY(!child<QToolButton>(page, "Save")->isEnabled());
    }
    QCOMPARE(readAll(path("Big")), big);
}

void MacroPageTest::saveWritesRepeatAndRows()
{
    auto page = pageWithMacro("Fire", "1\n");
    QSignalSpy upDataMacro(PostMsg::instance(), SIGNAL(SigUpDataMacro(QString, int)));
    child<QSpinBox>(*page, "NumberEdit")->setValue(5);
    page->InsertKeyEvent("A", true);
    child<QToolButton>(*page, "Save")->click();
    QCOMPARE(readAll(path("Fire")), QByteArray("5\n10ms\n0x04 1 0\n"));
    QVERIFY(!child<QToolButton>(*page, "Save")->isEnabled());
    QVERIFY(!page->EventsChanged && !page->RepeatChanged);
    // The debt to the keys playing it first (2), before the file is written.
    QCOMPARE(sent(upDataMacro), (QList<QVariantList>{{"Fire", 2}, {"Fire", 0}, {"Fire", 1}}));

    child<QCheckBox>(*page, "ReUntilClick")->click();
    child<QToolButton>(*page, "Save")->click();
    QCOMPARE(readAll(path("Fire")), QByteArray("255\n10ms\n0x04 1 0\n"));
}

void MacroPageTest::repeatOnlyChangeEmitsOnlyRepeat()
{
    auto page = pageWithMacro("Fire", "255\n0x04 1 0\n15ms\n0x04 1 1\n");
    QSignalSpy upDataMacro(PostMsg::instance(), SIGNAL(SigUpDataMacro(QString, int)));
    child<QCheckBox>(*page, "ReUntil")->click();
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());
    child<QToolButton>(*page, "Save")->click();
    QCOMPARE(readAll(path("Fire")), QByteArray("253\n0x04 1 0\n15ms\n0x04 1 1\n"));
    QCOMPARE(sent(upDataMacro), (QList<QVariantList>{{"Fire", 2}, {"Fire", 1}}));
}

void MacroPageTest::failedSaveKeepsEverything()
{
    auto page = pageWithMacro("Fire", "1\n0x04 1 0\n");
    // The folder becomes unwritable the root-proof way: a folder stands where the file goes.
    QVERIFY(QFile::remove(path("Fire")));
    QVERIFY(QDir().mkpath(path("Fire") + "/inside"));
    QSignalSpy upDataMacro(PostMsg::instance(), SIGNAL(SigUpDataMacro(QString, int)));
    page->InsertKeyEvent("B", false);
    child<QCheckBox>(*page, "ReUntil")->click();
    child<QToolButton>(*page, "Save")->click();
    QVERIFY(QFileInfo(path("Fire")).isDir());
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());
    QVERIFY(page->EventsChanged && page->RepeatChanged);
    // Only the debt recorded before the write; nothing is sent.
    QCOMPARE(sent(upDataMacro), (QList<QVariantList>{{"Fire", 2}}));
}

// ---- the macro list ---------------------------------------------------------------------------

void MacroPageTest::listing()
{
    for (const char* name : {"A.ini", "b.ini", "list.xml", "notes.txt", "myxml.ini", "x.ini.ini", ".hidden.ini"}) {
        QFile file(MacroFolder() + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(MacroFolder() + "/A.ini", MacroFolder() + "/link.ini"));
    Macro page;
    auto* list = child<QListWidget>(page, "listWidgetHong");
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    QCOMPARE(shown, (QStringList{"A", "b", "myxml", "notes.txt", "x.ini"}));
    QCOMPARE(list->currentRow(), -1);
}

void MacroPageTest::anotherEntryLoadsHowever_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("arrow key") << "arrow";
    QTest::newRow("right-click") << "right";
}

void MacroPageTest::anotherEntryLoadsHowever()
{
    QFETCH(QString, how);
    QVERIFY(writeMacro("One", "1\n0x04 1 0\n"));
    QVERIFY(writeMacro("Two", "1\n0x05 1 0\n"));
    Macro page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* list = child<QListWidget>(page, "listWidgetHong");
    list->setCurrentRow(0);
    QCOMPARE(textsOf(page.rows()), QStringList{"A"});
    page.InsertKeyEvent("C", true);
    if (how == "arrow") {
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
    } else {
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualItemRect(list->item(1)).center());
    }
    QCOMPARE(page.currentMacroName(), QString("Two"));
    QCOMPARE(textsOf(page.rows()), QStringList{"B"});
    // Save now writes Two's own events.
    page.InsertKeyEvent("D", true);
    child<QToolButton>(page, "Save")->click();
    QCOMPARE(readAll(path("Two")), QByteArray("1\n0x05 1 0\n10ms\n0x07 1 0\n"));
    QCOMPARE(readAll(path("One")), QByteArray("1\n0x04 1 0\n"));
}

void MacroPageTest::deleteMacro()
{
    auto page = pageWithMacro("Fire", "1\n");
    QSignalSpy deleteMacroButton(PostMsg::instance(), SIGNAL(SigDeleteMacroButton(QString)));
    {
        ModalAnswerer answerer;
        answerer.on("DeleteConfirm", ModalAnswerer::reject());
        child<QToolButton>(*page, "DeleteHong")->click();
        QVERIFY(runQueuedWork());
        QCOMPARE(answerer.handled(), QStringList{"DeleteConfirm"});
    }
    QVERIFY(QFileInfo::exists(path("Fire")));
    QCOMPARE(page->currentMacroName(), QString("Fire"));
    QVERIFY(child<QAbstractButton>(*page, "ReNumber")->isChecked());
    {
        ModalAnswerer answerer;
        answerer.on("DeleteConfirm", ModalAnswerer::clickButton("NewHong"));
        child<QToolButton>(*page, "DeleteHong")->click();
        QVERIFY(runQueuedWork());
    }
    QVERIFY(!QFileInfo::exists(path("Fire")));
    QCOMPARE(child<QListWidget>(*page, "listWidgetHong")->count(), 0);
    // No macro chosen: no repeat choice either.
    for (const char* repeat : {"ReNumber", "ReUntil", "ReUntilLoose", "ReUntilClick"})
        QVERIFY2(!child<QAbstractButton>(*page, repeat)->isChecked(), repeat);
    QCOMPARE(sent(deleteMacroButton), (QList<QVariantList>{{page->MacroRealText() + "Fire"}}));
    QCOMPARE(page->MacroRealText(), QString("Macro_"));

    // A file that cannot be removed (a folder in its place) keeps the entry and sends nothing.
    QVERIFY(writeMacro("Stuck", "1\n"));
    Macro again;
    QVERIFY(QFile::remove(path("Stuck")));
    QVERIFY(QDir().mkpath(path("Stuck") + "/inside"));
    child<QListWidget>(again, "listWidgetHong")->setCurrentRow(0);
    ModalAnswerer answerer;
    answerer.on("DeleteConfirm", ModalAnswerer::clickButton("NewHong"));
    child<QToolButton>(again, "DeleteHong")->click();
    QVERIFY(runQueuedWork());
    QCOMPARE(again.currentMacroName(), QString("Stuck"));
    QCOMPARE(sent(deleteMacroButton).size(), 1);
}

void MacroPageTest::managingRefusedWhileRecording()
{
    auto page = pageWithMacro("Fire", "1\n0x04 1 0\n15ms\n0x04 1 1\n");
    child<QPushButton>(*page, "StartRecord")->click();
    QVERIFY(MacroRecording);
    const QByteArray before = readAll(path("Fire"));
    ModalAnswerer answerer;
    QStringList texts;
    answerer.on("ExeIsRun", [&texts](QWidget* w) {
        texts << w->findChild<QLabel*>("label")->text();
        ModalAnswerer::reject()(w);
    });
    for (const char* button : {"Save", "Amend", "DeleteKey", "DeleteHong", "NewHong"}) {
        auto* b = child<QToolButton>(*page, button);
        b->setEnabled(true);
        b->click();
    }
    QMetaObject::invokeMethod(page.get(), "RenameMacro");
    QVERIFY(runQueuedWork());
    QCOMPARE(answerer.count(), 6);
    QCOMPARE(texts.size(), 6);
    QVERIFY(!texts.first().isEmpty());
    QCOMPARE(texts.count(texts.first()), 6);
    QCOMPARE(readAll(path("Fire")), before);
    QCOMPARE(page->currentMacroName(), QString("Fire"));
}

// ---- recording state ------------------------------------------------------------------------

void MacroPageTest::startAndStop()
{
    auto page = pageWithMacro("Fire", "1\n0x04 1 0\n");
    QSignalSpy startRecord(PostMsg::instance(), SIGNAL(SigStartRecord(int)));
    auto* start = child<QPushButton>(*page, "StartRecord");
    auto* stop = child<QPushButton>(*page, "StopRecord");
    page->show();
    start->click();
    QCOMPARE(sent(startRecord), (QList<QVariantList>{{0}}));
    QVERIFY(MacroRecording);
    QVERIFY(page->EventsChanged);
    QVERIFY(!start->isVisible() && stop->isVisible());
    QVERIFY(!child<QListWidget>(*page, "listWidgetHong")->isEnabled());
    QVERIFY(!child<QComboBox>(*page, "ChooseEvent")->isEnabled());
    QVERIFY(!child<QSpinBox>(*page, "DelayTime")->isVisible() && !child<QSpinBox>(*page, "NumberEdit")->isVisible());
    QVERIFY(page->rows().isEmpty());

    stop->click();
    QCOMPARE(sent(startRecord), (QList<QVariantList>{{0}, {1}}));
    QVERIFY(!MacroRecording);
    QVERIFY(start->isVisible() && !stop->isVisible());
    QVERIFY(child<QListWidget>(*page, "listWidgetHong")->isEnabled());
    QVERIFY(child<QToolButton>(*page, "Save")->isEnabled());

    start->click();
    PostMsg::instance()->SendSetMacroPage();
    QVERIFY(!MacroRecording);
    QVERIFY(!child<QToolButton>(*page, "Save")->isEnabled());
    QCOMPARE(sent(startRecord).last(), QVariantList{1});
}

void MacroPageTest::startWithoutMacroShowsNotice()
{
    Macro page;
    QSignalSpy startRecord(PostMsg::instance(), SIGNAL(SigStartRecord(int)));
    ModalAnswerer answerer;
    QString text;
    answerer.on("ExeIsRun", [&text](QWidget* w) {
        text = w->findChild<QLabel*>("label")->text();
        ModalAnswerer::reject()(w);
    });
    child<QPushButton>(page, "StartRecord")->click();
    QVERIFY(runQueuedWork());
    QCOMPARE(answerer.handled(), QStringList{"ExeIsRun"});
    QVERIFY(!text.isEmpty());
    QVERIFY(!MacroRecording);
    QVERIFY(sent(startRecord).isEmpty());
}

// ---- keys, focus, menu, language ----------------------------------------------------------------

void MacroPageTest::keysAndFocus()
{
    Macro page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_F12, Qt::Key_A}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        press.ignore();
        QCoreApplication::sendEvent(&page, &press);
        QCOMPARE(press.isAccepted(), key != Qt::Key_A);
    }
    auto* spin = child<QSpinBox>(page, "DelayTime");
    spin->setFocus();
    QVERIFY(spin->hasFocus());
    QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(870, 620));
    QVERIFY(!spin->hasFocus());
    // Only the macro list and the two spin boxes take the focus.
    for (QWidget* w : page.findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name == "listWidgetHong" || name == "DelayTime" || name == "NumberEdit" || !w->isWidgetType() ||
            qobject_cast<QAbstractButton*>(w) == nullptr)
            continue;
        QVERIFY2(w->focusPolicy() == Qt::NoFocus, qPrintable(name));
    }
}

void MacroPageTest::contextMenuEntries()
{
    auto page = pageWithMacro("Fire", "1\n");
    auto* list = child<QListWidget>(*page, "listWidgetHong");
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    const auto textsOfMenu = [](QMenu* menu) {
        QStringList texts;
        for (QAction* a : menu->actions())
            texts << a->text();
        delete menu;
        return texts;
    };
    QCOMPARE(textsOfMenu(page->buildContextMenu(list->visualItemRect(list->item(0)).center())),
             (QStringList{"Export", "Rename", "Delete"}));
    QCOMPARE(textsOfMenu(page->buildContextMenu(QPoint(5, list->viewport()->height() - 5))), (QStringList{"New macro", "Import"}));

    // The delete entry runs the delete with its confirmation.
    std::unique_ptr<QMenu> menu(page->buildContextMenu(list->visualItemRect(list->item(0)).center()));
    ModalAnswerer answerer;
    answerer.on("DeleteConfirm", ModalAnswerer::clickButton("NewHong"));
    menu->actions().at(2)->trigger();
    QVERIFY(runQueuedWork());
    QVERIFY(!QFileInfo::exists(path("Fire")));
}

void MacroPageTest::languageChange()
{
    auto page = pageWithMacro("Fire", "1\n0x01 4 0\n10ms\n0x10 4 1\n");
    QCOMPARE(textsOf(page->rows()), (QStringList{"Left button", "10ms", "Forward button^"}));
    QCOMPARE(MouseButtonNames[0], QString("Left button"));
    QCOMPARE(MouseButtonNames[4], QString("Forward button"));

    auto* macros = child<QListWidget>(*page, "listWidgetHong");
    const int current = macros->currentRow();
    QVERIFY(current >= 0);
    QVERIFY(macros->item(current)->isSelected());
    PostMsg::instance()->SendChangeLanguage(5);
    // The current macro keeps its highlight with its events.
    QCOMPARE(macros->currentRow(), current);
    QVERIFY(macros->item(current)->isSelected());
    auto* choose = child<QComboBox>(*page, "ChooseEvent");
    QCOMPARE(choose->itemText(4), QString::fromUtf8("左ボタン"));
    QCOMPARE(MouseButtonNames[0], QString::fromUtf8("左ボタン"));
    QCOMPARE(MouseButtonNames[3], choose->itemText(8));
    QCOMPARE(MouseButtonNames[4], choose->itemText(7));
    QCOMPARE(textsOf(page->rows()), (QStringList{QString::fromUtf8("左ボタン"), "10ms", QString::fromUtf8("進むボタン^")}));
    QVERIFY(!page->EventsChanged);
    QCOMPARE(child<QToolButton>(*page, "Save")->text(), QString::fromUtf8("保存"));
    QCOMPARE(child<QLabel>(*page, "ReUntilClickLabel")->text(), QString::fromUtf8("いずれかのボタンを押すまで繰り返す"));
    QCOMPARE(child<QCheckBox>(*page, "ReNumber")->text(), QString::fromUtf8("再生回数"));
    QCOMPARE(page->MacroRealText(), QString::fromUtf8("マクロ_"));

    // The renamed rows still save as their buttons.
    child<QCheckBox>(*page, "ReUntil")->click();
    child<QToolButton>(*page, "Save")->click();
    QCOMPARE(readAll(path("Fire")), QByteArray("253\n0x01 4 0\n10ms\n0x10 4 1\n"));
    PostMsg::instance()->SendChangeLanguage(0);
}

void MacroPageTest::eventChooserShowsFiveRowsAtATime()
{
    auto page = pageWithMacro("Fire", "1\n0x01 4 0\n");
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    auto* choose = child<QComboBox>(*page, "ChooseEvent");
    QCOMPARE(choose->count(), 9);
    choose->showPopup();
    QAbstractItemView* view = choose->view();
    QTRY_VERIFY(view->isVisible());
    const int row = view->sizeHintForRow(0);
    QVERIFY(row > 0);
    // Five rows show and the rest scroll, so the list stays on the screen beside its field.
    QVERIFY2(view->viewport()->height() <= 5 * row + 2, qPrintable(QString::number(view->viewport()->height())));
    QVERIFY(choose->screen()->availableGeometry().contains(view->window()->geometry()));
    choose->hidePopup();
}

QTEST_MAIN(MacroPageTest)
#include "tst_macro_page.moc"
