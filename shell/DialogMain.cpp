#include "shell/DialogMain.h"

#include "ui_DialogMain.h"

#include "common/QtTranslation.h"
#include "common/TraceLog.h"
#include "common/AppPaths.h"
#include "common/CheckedFile.h"
#include "common/DialogFrame.h"
#include "common/LanguageFile.h"
#include "common/MacroSetting.h"
#include "common/PostMsg.h"
#include "common/ProgramWaits.h"
#include "common/Registry.h"
#include "common/SkinStyles.h"
#include "device/CurrentDevice.h"
#include "device/DeviceCache.h"
#include "device/DataLink.h"
#include "device/SharedFlags.h"
#include "device/Worker.h"
#include "dialogs/MouseOffLine.h"
#include "pages/settings/FormSetting.h"
#include "pages/settings/Match.h"
#include "shell/ChoiceFlows.h"
#include "shell/Dialog.h"
#include "shell/DialogChange.h"
#include "shell/EventWait.h"
#include "widgets/AfterHandler.h"
#include "widgets/WheelPassing.h"

#include "HIDUsb.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDebug>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int HotPlugSettleMs = 600;
constexpr int QuitWaitMs = ProgramWaits::QuitMs;
const char* const ProductName = "Kavro Mouse Software";

// A field the user types text into, where Space is a character.
bool typesText(const QWidget* w)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(w))
        return !line->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w))
        return !spin->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(w))
        return combo->isEditable();
    if (const auto* text = qobject_cast<const QTextEdit*>(w))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w))
        return !plain->isReadOnly();
    return false;
}

}  // namespace

DialogMain::DialogMain(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DialogMain)
{
    ui->setupUi(this);
    passWheelOverControls();
    connect(PostMsg::instance(), SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));

    takeOverInstallerLanguage();

    m_pictureDir = pictureFolder(QStringLiteral("Dialog"));

    m_choicePage = new DialogChange(this);
    ui->stackedWidgetMain->addWidget(m_choicePage);
    ui->stackedWidgetMain->setCurrentIndex(ChoicePage);
    // Direct: the frame and its pages must be there before the click's hub signals go out.
    connect(m_choicePage, &DialogChange::frameNeeded, this, [this] { frame(); }, Qt::DirectConnection);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(size());

    PostMsg* hub = PostMsg::instance();
    connect(hub, SIGNAL(SigChangeMainDialog(int)), this, SLOT(SlotChangeMainDialog(int)));
    connect(hub, SIGNAL(SigChangeSize(int)), this, SLOT(SlotChangeSize(int)));
    connect(hub, SIGNAL(SigMouseOffLineo(int)), this, SLOT(SlotMouseOffLine(int)));

    m_trayIcon = new QSystemTrayIcon(QIcon(CheckedFile::pictureForQt(m_pictureDir + QStringLiteral("Logo.png"))));
    m_trayIcon->setToolTip(QString::fromLatin1(ProductName));

    SlotChangeLanguage(currentLanguageIndex());
}

DialogMain::~DialogMain()
{
    delete m_trayIcon;
    delete m_choicePage;
    delete m_frame;
    delete ui;
}

QString DialogMain::installerRegistryPath()
{
    const QString product = QString::fromLatin1(ProductName);
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\") + AppPaths::UserFolderName + QLatin1Char('\\') + product
           + QLatin1Char('\\') + product;
}

void DialogMain::takeOverInstallerLanguage()
{
    const QString path = installerRegistryPath();
    const QString name = QStringLiteral("LanguageIndex");
    const int index = Registry::value(path, name, 0).toInt();
    if (index != 0)
        MacroSetting::instance()->setValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
    // Taken over once: the next start finds nothing.
    Registry::remove(path, name);
}

int DialogMain::currentPage() const
{
    return ui->stackedWidgetMain->currentIndex();
}

Dialog* DialogMain::frame()
{
    if (!m_frame) {
        m_frame = new Dialog(this);
        ui->stackedWidgetMain->addWidget(m_frame);
    }
    return m_frame;
}

void DialogMain::SlotChangeMainDialog(int index)
{
    WriteEnabled = 1;
    if (index == ChoicePage) {
        ui->stackedWidgetMain->setCurrentIndex(ChoicePage);
        MainPageActive = 0;
        PostMsg::instance()->SendMainPageChange();
        CloseDataLink();
        PostMsg::instance()->SendCloseProgress();
        PostMsg::instance()->SendSecondPageChange();
        StartUsbChanged(OnChoicePageUsbChanged, HotPlugSettleMs);
    } else if (index == FramePage) {
        frame();
        ui->stackedWidgetMain->setCurrentIndex(FramePage);
        StartUsbChanged(OnMainPageUsbChanged, HotPlugSettleMs);
    }
}

void DialogMain::SlotChangeSize(int index)
{
    switch (index) {
    case 0:
        UsbServer_SetPCDriverStatus(0);
        hideToTray();
        break;
    case 1:
        UsbServer_SetPCDriverStatus(0);
        quitProgram();
        break;
    case 2:
        hideToTray();
        break;
    case 3:
        quitProgram();
        break;
    default:
        break;
    }
}

bool DialogMain::hasSystemTray() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void DialogMain::hideToTray()
{
    if (!hasSystemTray()) {
        // No tray to come back from: a hidden window would be lost, so minimise instead.
        m_minimisedForTray = true;
        showMinimized();
        return;
    }
    hide();

    QMenu* oldMenu = m_trayMenu;
    m_showAction = new QAction(m_showText, this);
    m_exitAction = new QAction(m_exitText, this);
    connect(m_showAction, SIGNAL(triggered()), this, SLOT(slotActionMain()));
    connect(m_exitAction, SIGNAL(triggered()), this, SLOT(slotActionExitApp()));
    m_trayMenu = new QMenu(this);
    m_trayMenu->addAction(m_showAction);
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(m_exitAction);
    m_trayIcon->setContextMenu(m_trayMenu);
    if (oldMenu) {
        // The previous menu takes its actions with it.
        const QList<QAction*> oldActions = oldMenu->actions();
        oldMenu->deleteLater();
        for (QAction* action : oldActions)
            if (action->parent() == this)
                action->deleteLater();
    }
    if (!m_trayConnected) {
        connect(m_trayIcon, &QSystemTrayIcon::activated, this, &DialogMain::on_activatedSysTrayIcon);
        m_trayConnected = true;
    }
    m_trayIcon->setVisible(true);
}

void DialogMain::restoreWindow(bool restoreDriverStatus)
{
    m_minimisedForTray = false;
    showNormal();
    if (restoreDriverStatus && currentPage() == FramePage)
        UsbServer_SetPCDriverStatus(1);
    m_trayIcon->hide();
}

void DialogMain::quitProgram()
{
    endDeviceWork();
    close();
}

void DialogMain::endDeviceWork()
{
    qCDebug(kavroTrace) << "close";
    m_quitting = true;
    // The wait below runs what is queued: a load reported meanwhile must not hold the quit
    // for the busy dialog's seconds.
    if (m_frame)
        m_frame->endLoads();
    StopUsbChanged();
    WaitProcessingEvents(ProgramWaits::scaled(QuitWaitMs));
    CloseDataLink();
}

// A close that no close button began (a quit signal, the window manager) ends the program as
// the frame's close button does: the mouse's cache written, the driver status back, the link
// closed.
void DialogMain::closeEvent(QCloseEvent* event)
{
    if (!m_quitting) {
        WriteLoadedCacheFile();
        if (currentPage() == FramePage)
            UsbServer_SetPCDriverStatus(0);
        endDeviceWork();
    }
    QDialog::closeEvent(event);
}

void DialogMain::on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Context:
        // The platform may already have opened the menu for the right click.
        if (m_trayMenu && !m_trayMenu->isVisible())
            m_trayMenu->exec(QCursor::pos());
        break;
    case QSystemTrayIcon::DoubleClick:
        restoreWindow(false);
        break;
    case QSystemTrayIcon::Trigger:
        restoreWindow(true);
        break;
    default:
        break;
    }
}

void DialogMain::slotActionMain()
{
    restoreWindow(true);
}

void DialogMain::slotActionExitApp()
{
    endProcess(0);
}

void DialogMain::endProcess(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

// The report usually comes from a setter inside a control's handler (a slider's press): a
// modal loop started there would swallow the control's release and leave its repeat running.
// The notice opens once the handler has returned and the hand has let go; one notice at a
// time, and a report while one is asked for or open folds into it.
void DialogMain::SlotMouseOffLine(int index)
{
    if (m_offlineNoticeDue)
        return;
    m_offlineNoticeDue = true;
    m_offlineNoticeText = index;
    m_offlineNoticeAsked.start();
    QTimer::singleShot(0, this, &DialogMain::showOfflineNotice);
}

void DialogMain::showOfflineNotice()
{
    // A button held for long (or a release the system never reported) does not keep it away.
    constexpr int HeldButtonPollMs = 20;
    constexpr int HeldButtonLimitMs = 5000;
    if (m_heldButtons != Qt::NoButton && m_offlineNoticeAsked.elapsed() < HeldButtonLimitMs) {
        QTimer::singleShot(HeldButtonPollMs, this, &DialogMain::showOfflineNotice);
        return;
    }
    OfflineTextIndex = m_offlineNoticeText;
    const QPointer<DialogMain> self(this);
    {
        MouseOffLine notice;
        placeCentred(&notice, this, 0, 20);
        WaitingForMouse = 1;
        RestartWanted = 1;
        notice.exec();
    }
    if (self)
        m_offlineNoticeDue = false;
}

void DialogMain::SlotChangeLanguage(int index)
{
    // Qt's own dialogs (the DPI colour dialog) speak the chosen language too.
    InstallQtTranslation(index);
    // The texts take effect at the next hide to the tray.
    loadLanguageSection(index, QStringLiteral("DialogMain"), {QStringLiteral("MainForm"), QStringLiteral("Exit")},
                        [this](const QString& element, const QString& text) {
                            if (element == QLatin1String("MainForm"))
                                m_showText = text;
                            else
                                m_exitText = text;
                        });
    // The choice page's update warning shows the settings page's text; without the frame,
    // nobody else reads it.
    if (!m_frame)
        FormSetting::ReadLanguageTexts(index);
}

void DialogMain::pairOnFrame()
{
    PairChosenDevice = 1;
    {
        Match match;
        match.SetPairButtonImage();
        placeCentred(&match, this);
        match.exec();
    }
    // The pairing dialog leaves the choice page's hot-plug callback registered.
    ResumeFrameLinkAfterPairing();
}

void DialogMain::keyPressEvent(QKeyEvent* event)
{
    if (MacroRecording)
        return;
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_F12:
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        PostMsg::instance()->SendEnterKey();
        return;
    case Qt::Key_Space:
        if (currentPage() == FramePage)
            runAfterHandler(this, [this] { pairOnFrame(); });
        else
            runAfterHandler(this, [this] { ChoiceFlows::RunSpaceKeyFlow(this); });
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void DialogMain::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Every press and release of the window passes its native window first, whoever takes
    // it: a drag left over from a press whose release a control kept never outlives it.
    QWindow* window = windowHandle();
    if (window && window != m_watchedWindow) {
        window->installEventFilter(this);
        m_watchedWindow = window;
    }
}

bool DialogMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedWindow) {
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && takesSpace(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
            m_dragging = false;
            m_heldButtons = static_cast<QMouseEvent*>(event)->buttons();
        } else if (event->type() == QEvent::WindowBlocked) {
            // A modal dialog takes the hand: the release of the press that opened it never
            // reaches this window.
            m_dragging = false;
            m_heldButtons = Qt::NoButton;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Space belongs to the window before the focused control: a box, list or button of a page
// would take it for itself (the profile box opens its list) and the window's pairing would never
// come. A field being typed into keeps it, and so does an open list.
bool DialogMain::takesSpace(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || typesText(focusWidget()) || QApplication::activePopupWidget()
        || QWidget::keyboardGrabber())
        return false;
    // A held Space pairs once; its release has nothing left to do.
    if (event->type() == QEvent::KeyPress && !event->isAutoRepeat())
        keyPressEvent(event);
    return true;
}

// Reached only by presses that no control took: those drag the window.
void DialogMain::mousePressEvent(QMouseEvent* event)
{
    m_pressGlobal = event->globalPos();
    m_pressWindowPos = pos();
    m_dragging = event->button() == Qt::LeftButton;
}

// The window follows the pointer's travel since the press, both in screen positions, so a
// window manager's frame or a window placed by it does not shift the result.
void DialogMain::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && event->buttons() == Qt::LeftButton && !isMaximized())
        move(m_pressWindowPos + (event->globalPos() - m_pressGlobal));
}

void DialogMain::mouseReleaseEvent(QMouseEvent*)
{
    m_dragging = false;
}

void DialogMain::changeEvent(QEvent* event)
{
    // Without a tray the minimised window stands in for it: coming back is like the tray's
    // show action.
    if (event->type() == QEvent::WindowStateChange && m_minimisedForTray && !(windowState() & Qt::WindowMinimized))
        restoreWindow(true);
    QDialog::changeEvent(event);
}
