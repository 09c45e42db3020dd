#include "dialogs/DamagedInstall.h"

#include "common/LanguageFile.h"
#include "common/UserConfig.h"

#include <QLabel>

namespace {

struct FaultEntry {
    DamagedInstall::Fault fault;
    const char* element;  // of the language section
    const char* builtIn;  // shown when no language file has the element
};

const FaultEntry Faults[] = {
    {DamagedInstall::Fault::DeviceList, "label", "The program's device list is damaged. Please reinstall the program."},
    {DamagedInstall::Fault::LanguageFiles, "label_1",
     "The program's language files are damaged. Please reinstall the program."},
};

const FaultEntry& entryOf(DamagedInstall::Fault fault)
{
    return fault == DamagedInstall::Fault::DeviceList ? Faults[0] : Faults[1];
}

const QString Section = QStringLiteral("DamagedInstall");

DialogLayout damagedInstallLayout(DamagedInstall::Fault fault)
{
    DialogLayout setup;
    setup.frameName = QStringLiteral("DamagedInstallA");
    setup.section = Section;
    setup.elements = QStringList{QLatin1String(entryOf(fault).element), QStringLiteral("NewHong")};
    setup.label = QRect(0, 25, 301, 81);
    setup.labelText = QLatin1String(entryOf(fault).builtIn);
    setup.buttons = {{QStringLiteral("NewHong"), QRect(100, 110, 90, 24), QStringLiteral("OK")}};
    return setup;
}

}  // namespace

DamagedInstall::DamagedInstall(Fault fault, QWidget* parent)
    : DialogFrame(damagedInstallLayout(fault), parent)
    , m_fault(fault)
{
    label()->setWordWrap(true);
    finishSetup();
}

QString DamagedInstall::faultText(Fault fault, int index)
{
    QString text = QLatin1String(entryOf(fault).builtIn);
    loadLanguageSection(index, Section, {QLatin1String(entryOf(fault).element)},
                        [&text](const QString&, const QString& value) { text = value; });
    return text;
}

bool DamagedInstall::findFault(Fault* fault)
{
    if (!UserConfig::instance()->fault().isEmpty())
        *fault = Fault::DeviceList;
    else if (!englishLanguageFault().isEmpty())
        *fault = Fault::LanguageFiles;
    else
        return false;
    return true;
}

void DamagedInstall::applyText(const QString& element, const QString& text)
{
    DialogFrame::applyText(element == QLatin1String(entryOf(m_fault).element) ? QStringLiteral("label") : element, text);
}

void DamagedInstall::on_CloseButton_clicked()
{
    close();
}

void DamagedInstall::on_NewHong_clicked()
{
    close();
}
