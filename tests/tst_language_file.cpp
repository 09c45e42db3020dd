// Reading a window's section from the language files, and the skin colour texts.
#include "common/LanguageFile.h"
#include "common/MacroSetting.h"
#include "common/SkinStyles.h"
#include "support/TestEnv.h"

#include <QBuffer>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {
using Texts = QList<QPair<QString, QString>>;

Texts readFrom(const QByteArray& xml, const QString& section, const QStringList& known, QString* error = nullptr)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    Texts texts;
    const QString result = readLanguageSection(&buffer, section, known,
                                               [&](const QString& e, const QString& t) { texts.append({e, t}); });
    if (error)
        *error = result;
    return texts;
}
}  // namespace

class LanguageFileTest : public QObject {
    Q_OBJECT
private slots:
    void indexChoosesFile_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("file");
        QTest::newRow("english") << 0 << "/Language/0-English.xml";
        QTest::newRow("ukrainian") << 1 << "/Language/1-Ukrainian.xml";
        QTest::newRow("polish") << 2 << "/Language/2-POLSKI.xml";
        QTest::newRow("korean") << 3 << "/Language/3-Korea.xml";
        QTest::newRow("russian") << 4 << "/Language/4-Russia.xml";
        QTest::newRow("japanese") << 5 << "/Language/5-Japanese.xml";
        QTest::newRow("six is english") << 6 << "/Language/0-English.xml";
        QTest::newRow("negative is english") << -1 << "/Language/0-English.xml";
        QTest::newRow("far out is english") << 1000 << "/Language/0-English.xml";
    }
    void indexChoosesFile()
    {
        QFETCH(int, index);
        QFETCH(QString, file);
        TestEnv env;
        QCOMPARE(languageFilePath(index), env.programDir() + file);
    }

    void outOfRangeIndexLoadsEnglish()
    {
        TestEnv env;
        env.writeProgramFile("Language/0-English.xml", "<Total><W><label>English</label></W></Total>");
        for (int index : {6, -1}) {
            QString seen;
            loadLanguageSection(index, "W", {"label"}, [&](const QString&, const QString& t) { seen = t; });
            QCOMPARE(seen, QStringLiteral("English"));
        }
    }

    void currentIndexFromUserSettings_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("index");
        QTest::newRow("three") << "3" << 3;
        QTest::newRow("missing") << "" << 0;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("no such language") << "6" << 0;
        QTest::newRow("negative") << "-1" << 0;
    }
    void currentIndexFromUserSettings()
    {
        QFETCH(QString, stored);
        QFETCH(int, index);
        TestEnv env;
        MacroSetting::reload();
        if (!stored.isEmpty())
            MacroSetting::instance()->setValue("Language", "Language", stored);
        QCOMPARE(currentLanguageIndex(), index);
    }

    void readsOwnSectionOnly()
    {
        const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<Total>
  <Other><label>other before</label><NewHong>x</NewHong></Other>
  <Mine>
    <Unknown><label>nested unknown</label><deeper><label>deep</label></deeper></Unknown>
    <label>mine</label>
    <NewHong>確定</NewHong>
  </Mine>
  <Later><label>other after</label></Later>
</Total>)";
        QString error;
        const Texts texts = readFrom(xml, "Mine", {"label", "NewHong"}, &error);
        QCOMPARE(error, QString());
        QCOMPARE(texts, (Texts{{"label", "mine"}, {"NewHong", QString::fromUtf8("確定")}}));
    }

    void wrongRootChangesNothing()
    {
        QString error;
        const Texts texts = readFrom("<Labels><Mine><label>x</label></Mine></Labels>", "Mine", {"label"}, &error);
        QVERIFY(texts.isEmpty());
        QCOMPARE(error, QStringLiteral("Not a labels file"));
    }

    void nestedElementInKnownTextStopsThere()
    {
        QString error;
        const Texts texts = readFrom("<Total><Mine><label>first</label><NewHong>a<b>x</b></NewHong><Cancel>c</Cancel>"
                                     "</Mine></Total>",
                                     "Mine", {"label", "NewHong", "Cancel"}, &error);
        QCOMPARE(texts, (Texts{{"label", "first"}}));
        QVERIFY(!error.isEmpty());
    }

    void brokenXmlKeepsTextsReadBefore()
    {
        QString error;
        const Texts texts = readFrom("<Total><Mine><label>first</label><NewHong>second</Oops>", "Mine",
                                     {"label", "NewHong"}, &error);
        QCOMPARE(texts, (Texts{{"label", "first"}}));
        QVERIFY(!error.isEmpty());
    }

    void missingFileChangesNothing()
    {
        TestEnv env;
        bool called = false;
        const QString error = loadLanguageSection(2, "Mine", {"label"}, [&](const QString&, const QString&) { called = true; });
        QVERIFY(!called);
        QVERIFY(!error.isEmpty());
    }

    void oversizedFileChangesNothing()
    {
        TestEnv env;
        const QByteArray head = "<Total><Mine><label>big</label></Mine><!--";
        const QByteArray tail = "--></Total>";
        QByteArray xml = head + QByteArray(int(MaxLanguageFileSize) - head.size() - tail.size(), 'x') + tail;
        env.writeProgramFile("Language/2-POLSKI.xml", xml);
        QString seen;
        QVERIFY(loadLanguageSection(2, "Mine", {"label"}, [&](const QString&, const QString& t) { seen = t; }).isEmpty());
        QCOMPARE(seen, QStringLiteral("big"));

        seen.clear();
        env.writeProgramFile("Language/2-POLSKI.xml", xml.insert(head.size(), 'x'));
        QVERIFY(!loadLanguageSection(2, "Mine", {"label"}, [&](const QString&, const QString& t) { seen = t; }).isEmpty());
        QVERIFY(seen.isEmpty());
    }

    void setWidgetTextByObjectName()
    {
        QWidget root;
        auto* label = new QLabel("form text", &root);
        label->setObjectName("label");
        auto* button = new QPushButton(&root);
        button->setObjectName("OK");
        QVERIFY(setWidgetText(&root, "OK", "Yes"));
        QVERIFY(!setWidgetText(&root, "missing", "x"));
        QCOMPARE(button->text(), QStringLiteral("Yes"));
        QCOMPARE(label->text(), QStringLiteral("form text"));
    }

    void skinColourText_data()
    {
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QString>("rgb");
        QTest::newRow("three") << QStringList{"12", "34", "56"} << "12,34,56";
        QTest::newRow("blanks") << QStringList{" 1", "2 ", " 3 "} << "1,2,3";
        QTest::newRow("too few") << QStringList{"7"} << "7,255,255";
        QTest::newRow("missing") << QStringList{} << "255,255,255";
        QTest::newRow("not numbers") << QStringList{"red", "0", "x"} << "255,0,255";
        QTest::newRow("out of range") << QStringList{"-5", "300", "9"} << "0,255,9";
        QTest::newRow("style injection") << QStringList{"1);}*{color:red", "2", "3"} << "255,2,3";
    }
    void skinColourText()
    {
        QFETCH(QStringList, numbers);
        QFETCH(QString, rgb);
        QCOMPARE(rgbText(numbers), rgb);
    }
};

QTEST_MAIN(LanguageFileTest)
#include "tst_language_file.moc"
