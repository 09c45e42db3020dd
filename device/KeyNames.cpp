#include "device/KeyNames.h"

#include <QHash>
#include <QMap>
#include <QVector>

std::array<QString, 5> MouseButtonNames;

namespace {

struct UsageName {
    int usage;
    const char* name;  // UTF-8
};

// The HID keyboard usages that have a name. Each name has one usage and each usage one name.
const UsageName kNamedUsages[] = {
    {0x00, ""},          {0x28, "Enter"},  {0x29, "Esc"},      {0x2A, "BackSpace"}, {0x2B, "Tab"},
    {0x2C, "Space"},     {0x2D, "-"},      {0x2E, "="},        {0x2F, "["},         {0x30, "]"},
    {0x31, "\\"},        {0x33, ";"},      {0x34, "'"},        {0x35, "`"},         {0x36, ","},
    {0x37, "."},         {0x38, "/"},      {0x39, "CapsLock"}, {0x46, "Screen"},    {0x47, "Scroll"},
    {0x48, "Pause"},     {0x49, "Insert"}, {0x4A, "Home"},     {0x4B, "PgUp"},      {0x4C, "Del"},
    {0x4D, "End"},       {0x4E, "PgDn"},   {0x4F, "\u2192"},   {0x50, "\u2190"},    {0x51, "\u2193"},
    {0x52, "\u2191"},    {0x53, "NumLock"}, {0x54, "Num/"},    {0x55, "Num*"},      {0x56, "Num-"},
    {0x57, "Num+"},      {0x62, "Num0"},   {0x63, "Num."},     {0x65, "APPs"},
};

const char* const kMacroModifiers[8] = {"LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin"};
const char* const kComboModifiers[4] = {"Ctrl", "Shift", "Alt", "Win"};

const uint16_t kKeypadEnter = 0x58;

struct KeyTable {
    QMap<int, QString> byUsage;
    QHash<QString, int> byName;
};

const KeyTable& keyTable()
{
    static const KeyTable table = [] {
        KeyTable t;
        auto add = [&t](int usage, const QString& name) {
            t.byUsage.insert(usage, name);
            t.byName.insert(name, usage);
        };
        for (const UsageName& u : kNamedUsages)
            add(u.usage, QString::fromUtf8(u.name));
        for (int i = 0; i < 26; ++i)
            add(0x04 + i, QString(QChar('A' + i)));
        for (int i = 0; i < 9; ++i)
            add(0x1E + i, QString::number(i + 1));
        add(0x27, QStringLiteral("0"));
        for (int i = 0; i < 12; ++i)
            add(0x3A + i, QStringLiteral("F%1").arg(i + 1));
        for (int i = 0; i < 9; ++i)
            add(0x59 + i, QStringLiteral("Num%1").arg(i + 1));
        return t;
    }();
    return table;
}

std::optional<int> keyUsage(const QString& name)
{
    const auto it = keyTable().byName.constFind(name);
    if (it == keyTable().byName.constEnd())
        return std::nullopt;
    return *it;
}

QString usageName(int usage)
{
    if (usage == kKeypadEnter)
        return QStringLiteral("Enter");
    return keyTable().byUsage.value(usage);
}

int bitIndex(int bit, int bits)
{
    for (int i = 0; i < bits; ++i)
        if (bit == (1 << i))
            return i;
    return -1;
}

// Codes that are both a key usage and a modifier bit: the type decides.
bool isSharedCode(int code) { return code == 0x04 || code == 0x08 || code == 0x10 || code == 0x20; }

std::optional<int> hexCode(const QString& hex)
{
    if (hex.size() != 4 || !hex.startsWith(QLatin1String("0x")))
        return std::nullopt;
    int value = 0;
    for (int i = 2; i < 4; ++i) {
        const QChar c = hex.at(i);
        int digit;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

std::optional<KeyCode> KeyNameToCode(const QString& name)
{
    if (const auto usage = keyUsage(name))
        return KeyCode{KeyTypeKey, uint16_t(*usage)};
    for (int i = 0; i < 8; ++i)
        if (name == QLatin1String(kMacroModifiers[i]))
            return KeyCode{KeyTypeModifier, uint16_t(1 << i)};
    for (size_t i = 0; i < MouseButtonNames.size(); ++i)
        if (!MouseButtonNames[i].isEmpty() && name == MouseButtonNames[i])
            return KeyCode{KeyTypeMouse, uint16_t(1 << i)};
    return std::nullopt;
}

QString HexToKeyName(const QString& hex, int type)
{
    const auto code = hexCode(hex);
    if (!code)
        return QString();
    switch (type) {
    case KeyTypeKey:
        return keyTable().byUsage.value(*code);
    case KeyTypeModifier: {
        const int i = bitIndex(*code, 8);
        return i < 0 ? QString() : QString::fromLatin1(kMacroModifiers[i]);
    }
    case KeyTypeMouse:
        return MouseBitToName(*code);
    default:
        return QString();
    }
}

QString CodeToKeyName(int code, int type)
{
    if (isSharedCode(code)) {
        if (type == KeyTypeKey)
            return usageName(code);
        if (type == KeyTypeModifier)
            return QString::fromLatin1(kMacroModifiers[bitIndex(code, 8)]);
        return QString();
    }
    if (code == 0x40)
        return type == KeyTypeModifier ? QStringLiteral("RAlt") : usageName(code);
    if (code == 0x01 || code == 0x02 || code == 0x80)
        return QString::fromLatin1(kMacroModifiers[bitIndex(code, 8)]);
    return usageName(code);
}

QString MouseBitToName(int bit)
{
    const int i = bitIndex(bit, int(MouseButtonNames.size()));
    return i < 0 ? QString() : MouseButtonNames[size_t(i)];
}

bool KeyNameToEvent(const QString& name, int index, MacroRecord& record)
{
    if (index < 0 || index >= 70)
        return false;
    const auto code = KeyNameToCode(name);
    if (!code)
        return false;
    record.events[index].kind = code->type;
    record.events[index].code = code->code;
    return true;
}

QStringList KeyNameToHexPair(const QString& name)
{
    const auto code = KeyNameToCode(name);
    if (!code)
        return {};
    return {QStringLiteral("0x") + QString::number(code->code, 16).rightJustified(2, QLatin1Char('0')).toUpper(),
            QString::number(code->type)};
}

ButtonComboRecord ComboKeyNameToEvents(const QString& name, int i, int n, ButtonComboRecord record)
{
    if (n < 1 || n > 3 || i < 0 || i >= n)
        return record;
    KeyEvent& press = record.events[i];
    KeyEvent& release = record.events[2 * n - 1 - i];
    press.action = 0;
    release.action = 1;
    press.delayMs = release.delayMs = 10;
    press.kind = release.kind = KeyTypeKey;
    for (int b = 0; b < 4; ++b) {
        if (name == QLatin1String(kComboModifiers[b])) {
            press.kind = release.kind = KeyTypeModifier;
            press.code = release.code = uint16_t(1 << b);
            return record;
        }
    }
    if (const auto usage = keyUsage(name))
        press.code = release.code = uint16_t(*usage);
    return record;
}

QString CodeToComboKeyName(int code, int kind)
{
    if (isSharedCode(code)) {
        if (kind == KeyTypeKey)
            return usageName(code);
        if (kind == KeyTypeModifier)
            return QString::fromLatin1(kComboModifiers[bitIndex(code, 8) % 4]);
        return QString();
    }
    if (code == 0x40)
        return kind == KeyTypeKey ? QStringLiteral("F7") : QStringLiteral("Alt");
    if (code == 0x01 || code == 0x02 || code == 0x80)
        return QString::fromLatin1(kComboModifiers[bitIndex(code, 8) % 4]);
    return usageName(code);
}

QStringList SplitComboText(const QString& text)
{
    QStringList parts;
    QString part;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('+')) {
            part += c;
            continue;
        }
        const bool atEnd = i + 1 == text.size();
        if (part == QLatin1String("Num") && (atEnd || text.at(i + 1) == QLatin1Char('+'))) {
            part += c;
            continue;
        }
        parts << part;
        part.clear();
    }
    parts << part;
    return parts;
}

namespace {

struct VirtualKeyRow {
    int code;
    const char* name;  // UTF-8
    bool inGroupKey;
    bool inAddKey;
};

// Codes named one by one; digits, letters, keypad digits and F1..F12 follow a rule.
const VirtualKeyRow kVirtualKeys[] = {
    {8, "BackSpace", true, true}, {9, "Tab", true, true},       {12, "", true, true},
    {13, "Enter", true, true},    {19, "Pause", true, true},    {20, "CapsLock", true, true},
    {27, "Esc", true, true},      {32, "Space", false, false},  {33, "PgUp", true, true},
    {34, "PgDn", true, true},     {35, "End", true, true},      {36, "Home", true, true},
    {37, "\u2190", true, true},   {38, "\u2191", true, true},   {39, "\u2192", true, true},
    {40, "\u2193", true, true},   {44, "Screen", true, true},   {45, "Insert", true, true},
    {46, "Del", true, true},      {91, "LWin", false, true},    {92, "RWin", false, true},
    {93, "APPs", true, true},     {106, "Num*", true, true},    {107, "Num+", true, true},
    {109, "Num-", true, true},    {110, "Num.", true, true},    {111, "Num/", true, true},
    {144, "NumLock", true, true}, {145, "Scroll", true, true},  {160, "LShift", false, true},
    {161, "RShift", false, true}, {162, "LCtrl", false, true},  {163, "RCtrl", false, true},
    {164, "LAlt", false, true},   {165, "RAlt", false, false},  {186, ";", true, true},
    {187, "=", true, true},       {188, ",", true, true},       {189, "-", true, true},
    {190, ".", true, true},       {191, "/", true, true},       {192, "`", true, true},
    {219, "[", true, true},       {220, "\\", true, true},      {221, "]", true, true},
    {222, "'", true, true},
};

struct VirtualKeyEntry {
    QString name;
    bool inGroupKey = true;
    bool inAddKey = true;
};

const QMap<int, VirtualKeyEntry>& virtualKeyTable()
{
    static const QMap<int, VirtualKeyEntry> table = [] {
        QMap<int, VirtualKeyEntry> t;
        for (int i = 0; i < 10; ++i)
            t.insert(48 + i, {QString::number(i)});
        for (int i = 0; i < 26; ++i)
            t.insert(65 + i, {QString(QChar('A' + i))});
        for (int i = 0; i < 10; ++i)
            t.insert(96 + i, {QStringLiteral("Num%1").arg(i)});
        for (int i = 0; i < 12; ++i)
            t.insert(112 + i, {QStringLiteral("F%1").arg(i + 1)});
        for (const VirtualKeyRow& row : kVirtualKeys)
            t.insert(row.code, {QString::fromUtf8(row.name), row.inGroupKey, row.inAddKey});
        return t;
    }();
    return table;
}

bool usedBy(const VirtualKeyEntry& entry, KeyNameUser user)
{
    switch (user) {
    case KeyNameUser::GroupKey:
        return entry.inGroupKey;
    case KeyNameUser::AddKey:
        return entry.inAddKey;
    case KeyNameUser::Recorder:
        break;
    }
    return true;
}

}  // namespace

std::optional<QString> VirtualKeyName(int virtualKey, KeyNameUser user)
{
    const auto it = virtualKeyTable().constFind(virtualKey);
    if (it == virtualKeyTable().constEnd() || !usedBy(*it, user))
        return std::nullopt;
    return it->name;
}

QList<int> VirtualKeyCodes(KeyNameUser user)
{
    QList<int> codes;
    for (auto it = virtualKeyTable().constBegin(); it != virtualKeyTable().constEnd(); ++it)
        if (usedBy(*it, user))
            codes << it.key();
    return codes;
}

QList<int> KeyTableUsages() { return keyTable().byUsage.keys(); }
