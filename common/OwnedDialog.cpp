#include "common/OwnedDialog.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

namespace {
// Not on the screen for the user: hidden after it was shown (in the tray), or minimised. A
// window never shown yet counts as there.
bool awayFromScreen(const QWidget* window)
{
    return (window->isHidden() && window->testAttribute(Qt::WA_WState_ExplicitShowHide)) || window->isMinimized();
}
}  // namespace

OwnedDialog::OwnedDialog(QWidget* parent)
    : QDialog(parent)
{
}

OwnedDialog::~OwnedDialog() = default;

void OwnedDialog::setOpener(const QWidget* opener)
{
    m_opener = opener;
}

QWidget* OwnedDialog::owner() const
{
    return m_owner;
}

QWidget* OwnedDialog::currentOwner() const
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this)
        return modal;
    if (m_opener)
        return m_opener->window();
    QWidget* active = QApplication::activeWindow();
    return active != this ? active : nullptr;
}

void OwnedDialog::setVisible(bool visible)
{
    if (!visible) {
        if (m_waiting) {
            stopWaiting();
            // Not shown this time: QDialog would take this hide for a repeated one and leave
            // its exec() running.
            setAttribute(Qt::WA_WState_ExplicitShowHide, false);
        }
        QDialog::setVisible(false);
        return;
    }
    if (m_waiting)
        return;
    if (isVisible()) {
        QDialog::setVisible(true);
        return;
    }
    m_owner = currentOwner();
    if (m_owner && awayFromScreen(m_owner)) {
        m_waiting = true;
        m_owner->installEventFilter(this);
        return;
    }
    showOverOwner();
}

void OwnedDialog::showOverOwner()
{
    create();
    if (QWindow* window = windowHandle())
        window->setTransientParent(m_owner ? m_owner->windowHandle() : nullptr);
    QDialog::setVisible(true);
}

void OwnedDialog::stopWaiting()
{
    m_waiting = false;
    if (m_owner)
        m_owner->removeEventFilter(this);
}

bool OwnedDialog::event(QEvent* event)
{
    // Closed while it waits: QDialog would find nothing shown to reject.
    if (event->type() == QEvent::Close && m_waiting)
        reject();
    return QDialog::event(event);
}

bool OwnedDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (m_waiting && watched == m_owner
        && (event->type() == QEvent::Show || event->type() == QEvent::WindowStateChange)) {
        // Once the owner's own show is done, so that the window manager has it first.
        QTimer::singleShot(0, this, [this] {
            if (!m_waiting || (m_owner && awayFromScreen(m_owner)))
                return;
            stopWaiting();
            showOverOwner();
        });
    }
    return QDialog::eventFilter(watched, event);
}
