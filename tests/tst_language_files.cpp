// The six shipped language files: each parses, has the root every window expects, and holds
// every text that English holds, translated.
#include <QFile>
#include <QMap>
#include <QtTest>
#include <QXmlStreamReader>

namespace {

using Sections = QMap<QString, QMap<QString, QString>>;  // section -> element -> text

const QStringList& languageFiles()
{
    static const QStringList files{QStringLiteral("0-English.xml"), QStringLiteral("1-Ukrainian.xml"),
        QStringLiteral("2-POLSKI.xml"), QStringLiteral("3-Korea.xml"), QStringLiteral("4-Russia.xml"),
        QStringLiteral("5-Japanese.xml")};
    return files;
}

QString stagedPath(const QString& file)
{
    return QStringLiteral(KAVRO_OUTPUT_DIR "/Language/") + file;
}

// Reads a file strictly: root "Total", sections of text-only elements. Returns an error text.
QString readLanguageFile(const QString& path, Sections& sections)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot open ") + path;
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("Total"))
        return QStringLiteral("root element is not Total");
    while (xml.readNextStartElement()) {
        const QString section = xml.name().toString();
        if (sections.contains(section))
            return QStringLiteral("section %1 appears twice").arg(section);
        QMap<QString, QString>& elements = sections[section];
        while (xml.readNextStartElement()) {
            const QString element = xml.name().toString();
            if (elements.contains(element))
                return QStringLiteral("%1/%2 appears twice").arg(section, element);
            elements.insert(element, xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement));
            if (xml.hasError())
                return QStringLiteral("%1/%2: %3").arg(section, element, xml.errorString());
        }
    }
    if (xml.hasError())
        return xml.errorString();
    return QString();
}

}  // namespace

class LanguageFilesTest : public QObject {
    Q_OBJECT

private:
    Sections m_english;

private slots:
    void initTestCase()
    {
        const QString error = readLanguageFile(stagedPath(languageFiles().first()), m_english);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // The texts the windows built so far read from their sections.
    void englishHoldsWhatTheWindowsRead_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("elements");
        const auto row = [](const char* section, QStringList elements) {
            QTest::newRow(section) << QString::fromLatin1(section) << elements;
        };
        row("MouseOffLine", {"label", "Timeout", "NewHong"});
        row("EXEIsRun", {"label", "NewHong", "label_2", "PleaseStop"});
        row("InportFail", {"label", "label_1", "NewHong"});
        row("ExportFail", {"label", "NewHong"});
        row("AutoStartFail", {"label", "NewHong"});
        row("UserFolderFail", {"label", "NewHong"});
        row("DamagedInstall", {"label", "label_1", "NewHong"});
        row("QuestionB", {"label"});
        row("ContainReset", {"label", "OK", "Cancel"});
        row("RePair", {"label", "OK", "Cancel"});
        row("DeleteConfirm", {"label", "NewHong"});
        row("NewVer", {"NewHong"});
        row("ButtonOnly", {"label"});
        row("MakeMacro", {"label", "NewHong"});
        row("SameMacro", {"label", "NewHong"});
        row("MaxThree", {"label", "NewHong"});
        row("Limit", {"label", "NewHong"});
        row("groupKey", {"label", "NewHong", "NewHong_2"});
        row("FireKey", {"label", "label_2", "label_3", "NewHong", "NewHong_2"});
        row("AddDelayTime", {"label", "NewHong", "NewHong_2"});
        row("AddKey", {"label", "NewHong", "NewHong_2"});
        row("Question", {"label", "NewHong", "NewHong_2"});
        row("LessThree", {"label", "NewHong"});
        row("Progress", {"Confirm", "UpdateNotMove", "UpDateFail", "UpDateSuccess"});
        row("DialogMain", {"MainForm", "Exit"});
        row("DialogChange", {"label_2", "label_3", "OfflineTips1", "OfflineTips2", "RepairDevice", "MouseIsNewTips"});
        row("UpDataParam", {"label", "label_1"});
        row("FormSetting", {"WiredMode", "NoDevice", "SameDevice", "VerNew", "BadFile"});
        row("AutoRepair", {"ToolText", "NewHong", "UpdateNotMove", "NoDevice", "SameDevice", "UpdateFail",
                           "UpdateSuccess", "BadFile"});
        row("Buttoninterface", {"Reset", "ImportData", "OutputData", "FireKey", "RightKey", "BackKey", "StartPause",
            "TopMusic", "BackMusic", "LeftKey_3", "RightKey_3", "MidKey", "BackKey_2", "ForWardKey", "DPI_2", "DPI_3",
            "DPI_6", "DPI_8", "DPI_5", "DPI_13", "DPI_11", "DPI_10", "DPI_9", "DPI_7", "DPI_12", "DPI_4", "Player",
            "StartPause_2", "BackMusic_2", "TopMusic_2", "Mute", "VolumeUp", "VolumeDown", "VolumeDown_4",
            "VolumeDown_5", "VolumeDown_6", "VolumeDown_3", "VolumeDown_8", "VolumeDown_9", "VolumeDown_7",
            "VolumeDown_10", "VolumeDown_12", "VolumeDown_13", "VolumeDown_11", "VolumeUp_4", "VolumeUp_5",
            "VolumeUp_7", "checkBox", "VolumeUp_2", "VolumeDown_2", "VolumeUp_8", "VolumeUp_14", "VolumeDown_14",
            "Macro_", "Config", "S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8", "S9", "S10", "S11", "S12", "S13",
            "S14", "S15", "S16", "S17", "S18", "S19", "S20"});
        row("Light", {"label", "LightMod", "LightMod1", "LightMod2", "LightMod3", "LightMod4", "LightMod5", "LightMod6",
                         "label_2", "label_3", "label_4", "label_5", "label_10", "label_11", "label_12", "label_6",
                         "label_8", "label_13", "StopCloseTime", "StopCloseTime1", "StopCloseTime2", "StopCloseTime3", "StopCloseTime4",
                         "StopCloseTime5", "StopCloseTime6", "StopCloseTime7", "StopCloseTime8", "StopCloseTime9",
                         "StopCloseTime10"});
        row("Sensor", {"label_2", "label_3", "label_5", "label_11", "ModeSelectDes", "label_12", "LODDes", "label_7",
            "MotionSyncDes", "Performance", "FullPerformanceDes", "PerformanceOpen", "PerformanceOpen1", "PerformanceOpen2",
            "PerformanceOpen3", "PerformanceOpen4", "PerformanceOpen5", "Model", "Model1", "Model2", "label", "RippleDes",
            "label_6", "FixLineDes", "label_4", "label_14", "label_15"});
        row("Macro", {"label", "label_2", "NewHong", "DeleteHong", "Amend", "DeleteKey", "StartRecord", "StopRecord",
            "Save", "ChooseEvent1", "ChooseEvent2", "ChooseEvent3", "ChooseEvent4", "ChooseEvent5", "ChooseEvent6",
            "ChooseEvent7", "ChooseEvent8", "ChooseEvent9", "MacroReal", "AutoInsertDelay", "DefaultDelay",
            "ReUntilLoose", "ReUntilClick", "ReUntil", "ReNumber", "label_3", "Key1", "Key2", "Key3", "Key4", "Key5"});
    }

    // Macro rows named by a mouse button must never read as delays, and the button page finds
    // the selectors of a macro by the prefix the Macro page sends.
    void macroTextsAgreeWithTheirReaders_data()
    {
        everyLanguageMatchesEnglish_data();
        QTest::newRow(qPrintable(languageFiles().first())) << languageFiles().first();
    }
    void macroTextsAgreeWithTheirReaders()
    {
        QFETCH(QString, file);
        Sections sections;
        const QString error = readLanguageFile(stagedPath(file), sections);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QMap<QString, QString>& macro = sections["Macro"];
        for (int i = 4; i <= 8; ++i) {
            const QString text = macro.value(QStringLiteral("ChooseEvent%1").arg(i));
            QVERIFY2(!text.isEmpty() && !text.contains("ms"), qPrintable(file + ": ChooseEvent" + QString::number(i)));
        }
        QStringList buttons;
        for (int i = 4; i <= 8; ++i)
            buttons << macro.value(QStringLiteral("ChooseEvent%1").arg(i));
        QCOMPARE(QSet<QString>(buttons.begin(), buttons.end()).size(), 5);
        if (macro.contains("MacroReal") && sections["Buttoninterface"].contains("Macro_"))
            QCOMPARE(macro["MacroReal"], sections["Buttoninterface"]["Macro_"]);
    }

    void englishHoldsWhatTheWindowsRead()
    {
        QFETCH(QString, section);
        QFETCH(QStringList, elements);
        QVERIFY2(m_english.contains(section), qPrintable(section));
        for (const QString& element : elements) {
            QVERIFY2(m_english[section].contains(element), qPrintable(section + "/" + element));
            QVERIFY2(!m_english[section][element].trimmed().isEmpty(), qPrintable(section + "/" + element));
        }
    }

    void everyLanguageMatchesEnglish_data()
    {
        QTest::addColumn<QString>("file");
        for (const QString& file : languageFiles().mid(1))
            QTest::newRow(qPrintable(file)) << file;
    }

    // Same sections and elements as English, no empty text, and every sentence translated
    // (short labels such as "OK" may stay as they are).
    void everyLanguageMatchesEnglish()
    {
        QFETCH(QString, file);
        Sections other;
        const QString error = readLanguageFile(stagedPath(file), other);
        QVERIFY2(error.isEmpty(), qPrintable(file + ": " + error));

        for (auto section = m_english.cbegin(); section != m_english.cend(); ++section) {
            QVERIFY2(other.contains(section.key()), qPrintable("missing section " + section.key()));
            const QMap<QString, QString>& theirs = other[section.key()];
            for (auto element = section->cbegin(); element != section->cend(); ++element) {
                const QString where = section.key() + "/" + element.key();
                QVERIFY2(theirs.contains(element.key()), qPrintable("missing " + where));
                QVERIFY2(!theirs[element.key()].trimmed().isEmpty(), qPrintable("empty " + where));
                if (element.value().size() > 12)
                    QVERIFY2(theirs[element.key()] != element.value(), qPrintable("untranslated " + where));
            }
            for (const QString& name : theirs.keys())
                QVERIFY2(section->contains(name), qPrintable("not in English: " + section.key() + "/" + name));
        }
        for (const QString& name : other.keys())
            QVERIFY2(m_english.contains(name), qPrintable("section not in English: " + name));
    }

    // The build stages the files from the source folder unchanged.
    void stagedFilesAreTheSources()
    {
        for (const QString& file : languageFiles()) {
            QFile staged(stagedPath(file));
            QFile source(QStringLiteral(KAVRO_SOURCE_DIR "/resources/Language/") + file);
            QVERIFY(staged.open(QIODevice::ReadOnly));
            QVERIFY(source.open(QIODevice::ReadOnly));
            QCOMPARE(staged.readAll(), source.readAll());
        }
    }
};

QTEST_GUILESS_MAIN(LanguageFilesTest)
#include "tst_language_files.moc"
