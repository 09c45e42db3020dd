#include "pages/macro/GroupKey.h"

#include "device/KeyNames.h"
#include "dialogs/GroupMaxThree.h"
#include "widgets/AfterHandler.h"
#include "ui_GroupKey.h"

#include <QHash>
#include <QKeyEvent>

namespace {

// Keys of one entry must come within this time of its first key.
constexpr qint64 EntryWindowMs = 2000;
constexpr int MaxKeys = 3;

// The names a combination may hold, by their lower-case form: every key name and the four
// side-less modifiers.
const QHash<QString, QString>& combinationNames()
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> table;
        for (int usage : KeyTableUsages()) {
            const QString name = CodeToComboKeyName(usage, KeyTypeKey);
            if (!name.isEmpty())
                table.insert(name.toLower(), name);
        }
        for (int bit : {0x01, 0x02, 0x04, 0x08}) {
            const QString name = CodeToComboKeyName(bit, KeyTypeModifier);
            table.insert(name.toLower(), name);
        }
        return table;
    }();
    return names;
}

}  // namespace

GroupKey::GroupKey(QWidget* parent)
    : KeyEntryDialog(layoutOf({QStringLiteral("groupKeyA"), QStringLiteral("groupKey"), QRect(45, 9, 231, 51),
                               QStringLiteral("Please enter keystroke"), 50, 170, QStringLiteral("确定"), {}}),
                     parent)
    , ui(new Ui::GroupKey)
{
    ui->setupUi(background());
    // Nothing in the dialog may take a key before the hook sees it: no shortcut, no input method.
    ui->lineEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    styleEntry(ui->lineEdit);
    for (QCheckBox* box : {ui->Shift, ui->Ctrl, ui->Alt, ui->Win})
        styleCheckBox(box);
    m_hook.install();
    m_hook.bindCallback(this, &GroupKey::UpdateCapslockTip);
    keepFocusOn(ui->lineEdit);
    finishSetup();
}

GroupKey::~GroupKey()
{
    m_hook.uninstall();
    delete ui;
}

void GroupKey::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu)
{
    // A held key repeating changes nothing.
    if (!downOrUp || aotu)
        return;
    if (FirstKey) {
        m_keyTimer.start();
        FirstKey = false;
    } else if (m_keyTimer.elapsed() > EntryWindowMs) {
        m_keys.clear();
        LastGroupKey = -1;
        m_keyTimer.restart();
    }
    if (keyCode == LastGroupKey)
        return;
    LastGroupKey = keyCode;
    const QString name = VirtualKeyName(keyCode, KeyNameUser::GroupKey).value_or(QString());
    PlusCount = qMax(0, m_keys.size() - 1);
    if (m_keys.size() == MaxKeys) {
        // A fourth key starts a new entry.
        PlusCount = 0;
        m_keys.clear();
        if (!name.isEmpty())
            m_keys << name;
    } else if (!name.isEmpty() && !m_keys.contains(name)) {
        m_keys << name;
        if (m_keys.size() == MaxKeys)
            LastGroupKey = -1;
    }
    showKeys();
}

void GroupKey::on_NewHong_clicked()
{
    QStringList parts;
    const std::pair<QCheckBox*, const char*> boxes[] = {
        {ui->Shift, "Shift"}, {ui->Ctrl, "Ctrl"}, {ui->Alt, "Alt"}, {ui->Win, "Win"}};
    for (const auto& [box, name] : boxes) {
        if (box->isChecked())
            parts << QString::fromLatin1(name);
    }
    if (parts.size() + m_keys.size() > MaxKeys) {
        runAfterHandler(this, [this] {
            GroupMaxThree notice;
            notice.move(mapToGlobal(QPoint(0, 0)));
            notice.exec();
            // Back to the dialog, so the next keys reach it without a click.
            activateWindow();
            PlusCount = 0;
            LastGroupKey = -1;
            m_keys.clear();
            showKeys();
        });
        return;
    }
    m_hook.uninstall();
    KeyText = (parts + m_keys).join(QLatin1Char('+'));
    Accepted = true;
    accept();
}

void GroupKey::on_NewHong_2_clicked()
{
    Accepted = false;
    reject();
}

void GroupKey::on_CloseButton_clicked()
{
    on_NewHong_2_clicked();
}

// Text pasted into the field: each part that names a combination key, in its own spelling.
void GroupKey::on_lineEdit_textEdited(const QString& arg1)
{
    m_keys.clear();
    for (const QString& part : SplitComboText(arg1)) {
        const QString name = combinationNames().value(part.trimmed().toLower());
        if (!name.isEmpty() && !m_keys.contains(name))
            m_keys << name;
    }
    LastGroupKey = -1;
    showKeys();
}

void GroupKey::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12)
        return;
    KeyEntryDialog::keyPressEvent(event);
}

void GroupKey::done(int result)
{
    m_hook.uninstall();
    KeyEntryDialog::done(result);
}

void GroupKey::showKeys()
{
    ui->lineEdit->setText(m_keys.join(QLatin1Char('+')));
}
