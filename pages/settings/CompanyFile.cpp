#include "pages/settings/CompanyFile.h"

#include "common/AppPaths.h"
#include "common/CheckedFile.h"

#include <QBuffer>
#include <QDir>
#include <QXmlStreamReader>

QString CompanyFilePath()
{
    return AppPaths::programDir() + QStringLiteral("/Language/Net.xml");
}

QString LoadCompanyFile(const QString& path, const std::function<int()>& languageIndex, const CompanyTextHandler& apply)
{
    CheckedFile::Result file = CheckedFile::read(path, CheckedFile::LanguageLimit);
    if (!file.ok())
        return file.error;
    QBuffer buffer(&file.bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    const QString error = ReadCompanyFile(&buffer, languageIndex, apply);
    return error.isEmpty() ? QString() : QDir::toNativeSeparators(path) + QStringLiteral(": ") + error;
}

QString ReadCompanyFile(QIODevice* device, const std::function<int()>& languageIndex, const CompanyTextHandler& apply)
{
    QXmlStreamReader xml(device);
    if (!xml.readNextStartElement())
        return xml.hasError() ? xml.errorString() : QStringLiteral("Not a labels file");
    if (xml.name() != QLatin1String("Profile"))
        return QStringLiteral("Not a labels file");
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("English") && xml.name() != QLatin1String("Web")) {
            xml.skipCurrentElement();
            continue;
        }
        const int language = languageIndex();
        while (xml.readNextStartElement()) {
            const QString element = xml.name().toString();
            if (element == QLatin1String("CompanyName")) {
                const QString text = xml.readElementText();
                if (xml.hasError())
                    break;
                apply(CompanyText::Line, text);
            } else if (element == QLatin1String("CompanyWebcn") || element == QLatin1String("CompanyWeben")) {
                const QString text = xml.readElementText();
                if (xml.hasError())
                    break;
                const bool chinese = element == QLatin1String("CompanyWebcn");
                if ((chinese && language >= 1 && language <= 4) || (!chinese && language == 0))
                    apply(CompanyText::WebAddress, text);
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    return xml.hasError() ? xml.errorString() : QString();
}
