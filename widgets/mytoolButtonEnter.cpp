#include "widgets/mytoolButtonEnter.h"

#include <QMetaMethod>

mytoolButtonEnter::mytoolButtonEnter(QWidget* parent)
    : QToolButton(parent)
{
}

mytoolButtonEnter::~mytoolButtonEnter() = default;

void mytoolButtonEnter::enterEvent(QEvent* /*event*/)
{
    QString name = objectName();
    name.remove(QStringLiteral("btn"));
    const int tile = name.toInt();  // 0 when the rest is not a number

    for (QObject* owner = parent(); owner; owner = owner->parent()) {
        const int index = owner->metaObject()->indexOfMethod("RefreshDeviceTile(int)");
        if (index < 0)
            continue;
        owner->metaObject()->method(index).invoke(owner, Qt::DirectConnection, Q_ARG(int, tile));
        return;
    }
}

void mytoolButtonEnter::leaveEvent(QEvent* /*event*/)
{
}
