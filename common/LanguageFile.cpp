#include "common/LanguageFile.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/LanguageNames.h"
#include "common/MacroSetting.h"
#include "common/TraceLog.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QXmlStreamReader>

namespace {

const char* const LanguageFiles[] = {
    "/Language/0-English.xml", "/Language/1-Ukrainian.xml", "/Language/2-POLSKI.xml",
    "/Language/3-Korea.xml",   "/Language/4-Russia.xml",    "/Language/5-Japanese.xml",
};

// Reads past the element the reader stands on, with everything inside it.
void skipElement(QXmlStreamReader& reader)
{
    reader.skipCurrentElement();
    if (reader.isEndElement())
        reader.readNext();
}

void readSectionBody(QXmlStreamReader& reader, const QStringList& known, const LanguageTextHandler& apply)
{
    reader.readNext();
    while (!reader.atEnd()) {
        if (reader.isEndElement()) {
            reader.readNext();
            return;
        }
        if (!reader.isStartElement()) {
            reader.readNext();
            continue;
        }
        const QString name = reader.name().toString();
        if (!known.contains(name)) {
            skipElement(reader);
            continue;
        }
        const QString text = reader.readElementText();
        if (reader.hasError())
            return;
        apply(name, text);
        if (reader.isEndElement())
            reader.readNext();
    }
}

void readSections(QXmlStreamReader& reader, const QString& section, const QStringList& known,
                  const LanguageTextHandler& apply)
{
    reader.readNext();
    while (!reader.atEnd()) {
        if (reader.isEndElement()) {
            reader.readNext();
            return;
        }
        if (!reader.isStartElement())
            reader.readNext();
        else if (reader.name() == section)
            readSectionBody(reader, known, apply);
        else
            skipElement(reader);
    }
}

}  // namespace

QString languageFilePath(int index)
{
    static_assert(sizeof(LanguageFiles) / sizeof(LanguageFiles[0]) == LanguageCount, "one file per language");
    const char* name = IsLanguageIndex(index) ? LanguageFiles[index] : LanguageFiles[0];
    return AppPaths::programDir() + QLatin1String(name);
}

int currentLanguageIndex()
{
    bool ok = false;
    const int index = MacroSetting::instance()->value(QStringLiteral("Language"), QStringLiteral("Language")).toInt(&ok);
    // An installer's value or a damaged settings file may name no language: English then.
    return ok && IsLanguageIndex(index) ? index : 0;
}

QString readLanguageSection(QIODevice* device, const QString& section, const QStringList& known,
                            const LanguageTextHandler& apply)
{
    QXmlStreamReader reader(device);
    reader.readNext();
    while (!reader.atEnd()) {
        if (!reader.isStartElement())
            reader.readNext();
        else if (reader.name() == QLatin1String("Total"))
            readSections(reader, section, known, apply);
        else
            reader.raiseError(QStringLiteral("Not a labels file"));
    }
    return reader.hasError() ? reader.errorString() : QString();
}

namespace {

QString readLanguageFile(int index, const QString& section, const QStringList& known, const LanguageTextHandler& apply)
{
    CheckedFile::Result file = CheckedFile::read(languageFilePath(index), MaxLanguageFileSize);
    if (!file.ok())
        return file.error;
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    const QString error = readLanguageSection(&buffer, section, known, apply);
    return error.isEmpty() ? QString() : QDir::toNativeSeparators(languageFilePath(index)) + QStringLiteral(": ") + error;
}

}  // namespace

QString loadLanguageSection(int index, const QString& section, const QStringList& known,
                            const LanguageTextHandler& apply)
{
    const int language = IsLanguageIndex(index) ? index : 0;
    const QString error = readLanguageFile(language, section, known, apply);
    if (error.isEmpty() || language == 0)
        return error;
    qCDebug(kavroTrace).noquote() << error << "- the English texts are used";
    return readLanguageFile(0, section, known, apply);
}

QString englishLanguageFault()
{
    return readLanguageFile(0, QString(), {}, [](const QString&, const QString&) {});
}

bool setWidgetText(QWidget* root, const QString& objectName, const QString& text)
{
    QWidget* widget = root->objectName() == objectName ? root : root->findChild<QWidget*>(objectName);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
    else
        return false;
    return true;
}
