#include "widgets/WheelPassing.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QScrollBar>

namespace {

class WheelPasser : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || !watched->isWidgetType() || !passesWheel(watched))
            return false;
        // Taken but not accepted: the application hands the wheel to the parent widget.
        event->ignore();
        return true;
    }

private:
    static bool passesWheel(QObject* widget)
    {
        if (auto* list = qobject_cast<QComboBox*>(widget))
            return !list->view()->isVisible();
        // A number box the user clicked into (and so typed or stepped in) keeps its wheel.
        if (auto* box = qobject_cast<QAbstractSpinBox*>(widget))
            return !box->hasFocus();
        return qobject_cast<QAbstractSlider*>(widget) && !qobject_cast<QScrollBar*>(widget);
    }
};

}  // namespace

void passWheelOverControls()
{
    const QString name = QStringLiteral("WheelPasser");
    auto* app = QCoreApplication::instance();
    if (!app || app->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* passer = new WheelPasser(app);
    passer->setObjectName(name);
    app->installEventFilter(passer);
}
