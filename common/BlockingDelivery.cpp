#include "common/BlockingDelivery.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QMetaMethod>
#include <QPointer>
#include <QThread>
#include <QVarLengthArray>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace BlockingDelivery {
namespace {

std::atomic<bool> g_shuttingDown{false};
std::atomic<int> g_waitDepth{0};

bool mustGiveUp()
{
    return g_shuttingDown.load() || g_waitDepth.load() > 0;
}

// One emission towards one receiver, shared by the emitter and the queued call.
struct Call {
    enum State { Pending, Running, Finished, Dropped };

    // Standard primitives, so thread checkers see the synchronisation.
    std::mutex mutex;
    std::condition_variable changed;
    State state = Pending;
    std::vector<int> types;
    std::vector<void*> values;  // the delivery's own copies of the arguments

    ~Call()
    {
        for (size_t i = 0; i < values.size(); ++i)
            QMetaType::destroy(types[i], values[i]);
    }

    void setState(State s)
    {
        std::lock_guard<std::mutex> lock(mutex);
        state = s;
        changed.notify_all();
    }
};

// Waits in the relay's queue: when it is discarded without running (the relay went away)
// the emitter is released instead of waiting forever.
struct PostedCall {
    std::shared_ptr<Call> call;
    explicit PostedCall(std::shared_ptr<Call> c) : call(std::move(c)) {}
    ~PostedCall()
    {
        std::lock_guard<std::mutex> lock(call->mutex);
        if (call->state == Call::Pending) {
            call->state = Call::Dropped;
            call->changed.notify_all();
        }
    }
};

// Receives the signal by a direct connection on the emitting thread and hands it over
// to the receiver's thread. Not a Q_OBJECT: it answers one extra method index itself.
class Relay : public QObject {
public:
    Relay(QObject* receiver, int slotIndex, std::vector<int> types)
        : m_receiver(receiver), m_receiverThread(receiver->thread()), m_slotIndex(slotIndex),
          m_types(std::move(types))
    {
    }

    int qt_metacall(QMetaObject::Call c, int id, void** a) override
    {
        id = QObject::qt_metacall(c, id, a);
        if (id < 0)
            return id;
        if (c == QMetaObject::InvokeMetaMethod) {
            if (id == 0)
                deliver(a);
            --id;
        }
        return id;
    }

    void receiverDestroyed()
    {
        m_receiverAlive = false;
        QObject::disconnect(m_connection);
    }

    QMetaObject::Connection m_connection;

private:
    void deliver(void** a)
    {
        if (QThread::currentThread() == m_receiverThread) {
            // Emitted on the receiver's own thread: waiting would block it on itself.
            if (m_receiver)
                QMetaObject::metacall(m_receiver.data(), QMetaObject::InvokeMetaMethod, m_slotIndex, a);
            return;
        }
        if (mustGiveUp() || !m_receiverAlive.load())
            return;

        auto call = std::make_shared<Call>();
        call->types = m_types;
        call->values.reserve(m_types.size());
        for (size_t i = 0; i < m_types.size(); ++i)
            call->values.push_back(QMetaType::create(m_types[i], a[i + 1]));

        // Handed over through our own queue: the event only says that there is work. It is
        // made before the hand-over, so the receiver's side sees it complete.
        auto* wake = new QEvent(DeliveryEvent);
        {
            std::lock_guard<std::mutex> lock(m_queueLock);
            m_queue.push_back(std::make_unique<PostedCall>(call));
        }
        QCoreApplication::postEvent(this, wake);

        std::unique_lock<std::mutex> lock(call->mutex);
        while (call->state == Call::Pending || call->state == Call::Running) {
            if (mustGiveUp() || !m_receiverAlive.load()) {
                // A call not yet started is dropped for good; a running one keeps its copies.
                if (call->state == Call::Pending)
                    call->state = Call::Dropped;
                return;
            }
            call->changed.wait_for(lock, std::chrono::milliseconds(SliceMs));
        }
    }

    bool event(QEvent* e) override
    {
        std::unique_ptr<PostedCall> posted;
        bool delivery;
        {
            // Taken before the event is read: that orders it after the emitter's hand-over.
            std::lock_guard<std::mutex> lock(m_queueLock);
            delivery = e->type() == DeliveryEvent;
            if (delivery && !m_queue.empty()) {
                posted = std::move(m_queue.front());
                m_queue.pop_front();
            }
        }
        if (!delivery)
            return QObject::event(e);
        if (posted)
            run(*posted->call);
        return true;
    }

    // On the receiver's thread.
    void run(Call& call)
    {
        {
            std::lock_guard<std::mutex> lock(call.mutex);
            if (call.state != Call::Pending)
                return;
            if (!m_receiver) {
                call.state = Call::Dropped;
                call.changed.notify_all();
                return;
            }
            call.state = Call::Running;
        }
        QVarLengthArray<void*, 8> argv;
        argv.append(nullptr);
        for (void* value : call.values)
            argv.append(value);
        QMetaObject::metacall(m_receiver.data(), QMetaObject::InvokeMetaMethod, m_slotIndex, argv.data());
        call.setState(Call::Finished);
    }

    static constexpr QEvent::Type DeliveryEvent = QEvent::Type(QEvent::User + 0x6B1);

    std::mutex m_queueLock;
    std::deque<std::unique_ptr<PostedCall>> m_queue;  // calls waiting for the receiver's thread
    QPointer<QObject> m_receiver;  // read on the receiver's thread only
    std::atomic<bool> m_receiverAlive{true};
    QThread* const m_receiverThread;
    const int m_slotIndex;
    const std::vector<int> m_types;
};

}  // namespace

QByteArray signature(const char* text)
{
    if (!text)
        return {};
    // SIGNAL()/SLOT() texts start with a code digit.
    if (*text >= '0' && *text <= '9')
        ++text;
    return QMetaObject::normalizedSignature(text);
}

bool connect(QObject* sender, const char* signal, QObject* receiver, const char* slot)
{
    if (!sender || !receiver)
        return false;
    const QByteArray signalSig = signature(signal);
    const QByteArray slotSig = signature(slot);
    const int signalIndex = sender->metaObject()->indexOfSignal(signalSig.constData());
    const int slotIndex = receiver->metaObject()->indexOfMethod(slotSig.constData());
    if (signalIndex < 0 || slotIndex < 0 || !QMetaObject::checkConnectArgs(signalSig, slotSig)) {
        qWarning() << "BlockingDelivery: cannot connect" << signalSig << "to" << slotSig;
        return false;
    }

    const QMetaMethod signalMethod = sender->metaObject()->method(signalIndex);
    std::vector<int> types;
    for (int i = 0; i < signalMethod.parameterCount(); ++i) {
        int type = signalMethod.parameterType(i);
        if (type == QMetaType::UnknownType)
            type = QMetaType::type(signalMethod.parameterTypes().at(i).constData());
        if (type == QMetaType::UnknownType) {
            qWarning() << "BlockingDelivery: argument type not registered:" << signalMethod.parameterTypes().at(i);
            return false;
        }
        types.push_back(type);
    }

    // Once the main event loop has ended nobody serves the queued calls any more.
    static const bool watchingQuit = [] {
        if (QCoreApplication* app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, [] { beginShutdown(); });
        return true;
    }();
    Q_UNUSED(watchingQuit);

    auto* relay = new Relay(receiver, slotIndex, types);
    // The relay outlives its receiver on purpose: an emitting thread may still be inside it.
    if (sender->thread() == QThread::currentThread())
        relay->setParent(sender);
    else if (QCoreApplication::instance() && QCoreApplication::instance()->thread() == QThread::currentThread())
        relay->setParent(QCoreApplication::instance());
    relay->m_connection = QMetaObject::connect(sender, signalIndex, relay, relay->metaObject()->methodCount(),
                                               Qt::DirectConnection);
    QObject::connect(receiver, &QObject::destroyed, relay, [relay] { relay->receiverDestroyed(); });
    return bool(relay->m_connection);
}

void beginShutdown()
{
    g_shuttingDown.store(true);
}

bool isShuttingDown()
{
    return g_shuttingDown.load();
}

void resetShutdown()
{
    g_shuttingDown.store(false);
}

WaitScope::WaitScope()
{
    ++g_waitDepth;
}

WaitScope::~WaitScope()
{
    --g_waitDepth;
}

}  // namespace BlockingDelivery
