#include "dialogs/ExchangeFileChoice.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

namespace {
std::function<QString(bool)>& replacement()
{
    static std::function<QString(bool)> chooser;
    return chooser;
}

// "bin" of "File(*.bin)"; empty for a filter without one extension.
QString filterExtension(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)\\)?$"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString chooseFileToSave(QWidget* parent, const QString& filter)
{
    // A name typed without an extension gets the filter's, as the system dialogs of other
    // platforms give it: an export named "mine" is listed again by the import's filter.
    QFileDialog dialog(parent, QStringLiteral("FileSave"), QDir::homePath(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(filterExtension(filter));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.value(0);
}
}  // namespace

QString chooseExchangeFile(QWidget* parent, bool save, const QString& filter)
{
    if (replacement())
        return replacement()(save);
    return save ? chooseFileToSave(parent, filter)
                : QFileDialog::getOpenFileName(parent, QStringLiteral("SelectFile"), QDir::homePath(), filter);
}

void setExchangeFileChooser(std::function<QString(bool save)> chooser)
{
    replacement() = std::move(chooser);
}
