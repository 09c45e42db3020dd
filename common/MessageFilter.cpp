#include "common/MessageFilter.h"

#include <QRegularExpression>
#include <QtGlobal>

#include <cstring>

namespace {
QtMessageHandler previousHandler = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (isQtTranslateCoordsRace(context.category, text))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
}
}  // namespace

bool isQtTranslateCoordsRace(const char* category, const QString& text)
{
    static const QRegularExpression race(QStringLiteral(
        "^QXcbConnection: XCB error: 3 \\(BadWindow\\), sequence: \\d+, resource id: \\d+, "
        "major code: 40 \\(TranslateCoords\\), minor code: 0$"));
    return category && std::strcmp(category, "qt.qpa.xcb") == 0 && race.match(text).hasMatch();
}

void installMessageFilter()
{
    static bool installed = false;
    if (installed)
        return;  // a second one would hand the messages to itself
    installed = true;
    previousHandler = qInstallMessageHandler(filterMessage);
}
