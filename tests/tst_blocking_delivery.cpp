// The blocking delivery from device threads to GUI slots: waits for the slot, waits for
// every receiver, never hangs, and never runs a call that its emitter gave up on.
#include "common/BlockingDelivery.h"
#include "support/Wait.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

struct Blob {
    unsigned char bytes[4096];
};

class Emitter : public QObject {
    Q_OBJECT
signals:
    void SigValue(int value);
    void SigBlob(Blob blob);
};

class Receiver : public QObject {
    Q_OBJECT
public:
    std::function<void()> onValue;
    std::atomic<int> calls{0};
    int lastValue = -1;
    Blob lastBlob{};

public slots:
    void SlotValue(int value)
    {
        lastValue = value;
        if (onValue)
            onValue();
        ++calls;
    }
    void SlotBlob(const Blob& blob)
    {
        if (onValue)
            onValue();
        lastBlob = blob;
        ++calls;
    }
};

// Runs a function on its own thread (a plain thread: its join is visible to thread checkers).
class Runner {
public:
    explicit Runner(std::function<void()> body) : m_body(std::move(body)) {}
    ~Runner()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    void start()
    {
        m_thread = std::thread([this] {
            m_body();
            m_done = true;
        });
    }
    bool isFinished() const { return m_done.load(); }
    // Waits at most ms for the body to end; true when it has.
    bool wait(int ms)
    {
        QElapsedTimer t;
        t.start();
        while (!m_done.load() && t.elapsed() < ms)
            QThread::msleep(1);
        if (!m_done.load())
            return false;
        m_thread.join();
        return true;
    }

private:
    std::function<void()> m_body;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

class BlockingDeliveryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { BlockingDelivery::registerArgumentType<Blob>("Blob"); }
    void cleanup() { BlockingDelivery::resetShutdown(); }

    void emitterWaitsUntilEveryReceiverReturned()
    {
        Emitter hub;
        Receiver r[4];
        for (Receiver& one : r)
            QVERIFY(BlockingDelivery::connect(&hub, SIGNAL(SigValue(int)), &one, SLOT(SlotValue(int))));

        std::atomic<int> seenAfterEmit{-1};
        Runner emitter([&] {
            emit hub.SigValue(7);
            int total = 0;
            for (Receiver& one : r)
                total += one.calls.load();
            seenAfterEmit = total;
        });
        emitter.start();
        QVERIFY(spinUntil([&] { return emitter.isFinished(); }, 3000));
        QCOMPARE(seenAfterEmit.load(), 4);
        for (Receiver& one : r)
            QCOMPARE(one.lastValue, 7);
    }

    void emittedOnGuiThreadCallsDirectly()
    {
        Emitter hub;
        Receiver r;
        QVERIFY(BlockingDelivery::connect(&hub, "SigValue(int)", &r, "SlotValue(int)"));
        emit hub.SigValue(3);
        QCOMPARE(r.calls.load(), 1);
        QCOMPARE(r.lastValue, 3);
    }

    void badSignaturesAreRefused()
    {
        Emitter hub;
        Receiver r;
        QVERIFY(!BlockingDelivery::connect(&hub, "SigValue(int)", &r, "SlotBlob(Blob)"));
        QVERIFY(!BlockingDelivery::connect(&hub, "SigNothing()", &r, "SlotValue(int)"));
    }

    // The GUI thread waits for the emitter (as when the Worker is joined): the emitter must
    // give up, and its call must not run when events are processed afterwards.
    void waitingGuiThreadReleasesEmitterAndDropsTheCall()
    {
        Emitter hub;
        Receiver r;
        QVERIFY(BlockingDelivery::connect(&hub, "SigValue(int)", &r, "SlotValue(int)"));
        Runner emitter([&] { emit hub.SigValue(1); });
        QElapsedTimer t;
        t.start();
        {
            BlockingDelivery::WaitScope scope;
            emitter.start();
            QVERIFY(emitter.wait(1000));
        }
        QVERIFY(t.elapsed() < 1000);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QCOMPARE(r.calls.load(), 0);
    }

    void shutdownReleasesABlockedEmitterWithinASecond()
    {
        Emitter hub;
        Receiver r;
        QVERIFY(BlockingDelivery::connect(&hub, "SigValue(int)", &r, "SlotValue(int)"));
        std::atomic<bool> returned{false};
        Runner emitter([&] {
            emit hub.SigValue(1);
            returned = true;
        });
        emitter.start();
        QThread::msleep(100);
        QVERIFY(!returned.load());  // still waiting for the GUI slot
        QElapsedTimer t;
        t.start();
        BlockingDelivery::beginShutdown();
        QVERIFY(emitter.wait(1000));
        QVERIFY(t.elapsed() < 1000);
        QCoreApplication::processEvents();
        QCOMPARE(r.calls.load(), 0);

        // Later deliveries give up at once while shutting down.
        Runner late([&] { emit hub.SigValue(2); });
        late.start();
        QVERIFY(late.wait(1000));
        QCoreApplication::processEvents();
        QCOMPARE(r.calls.load(), 0);
    }

    void receiverGoneReleasesEmitter()
    {
        Emitter hub;
        auto* r = new Receiver;
        QVERIFY(BlockingDelivery::connect(&hub, "SigValue(int)", r, "SlotValue(int)"));
        Runner emitter([&] { emit hub.SigValue(1); });
        emitter.start();
        QThread::msleep(50);
        delete r;
        QVERIFY(emitter.wait(1000));
        QCoreApplication::processEvents();

        // No connection is left behind for later emissions.
        Runner again([&] { emit hub.SigValue(2); });
        again.start();
        QVERIFY(again.wait(1000));
        QCoreApplication::processEvents();
    }

    // The slot reads the delivery's own copy: the emitter gives up while the slot runs,
    // leaves its stack frame and scribbles over its buffer; the slot still sees the original.
    void slotReadsItsOwnCopyAfterEmitterGaveUp()
    {
        Emitter hub;
        Receiver r;
        QVERIFY(BlockingDelivery::connect(&hub, "SigBlob(Blob)", &r, "SlotBlob(Blob)"));
        std::atomic<bool> emitterDone{false};
        Runner emitter([&] {
            Blob blob;
            std::memset(blob.bytes, 0xA5, sizeof blob.bytes);
            emit hub.SigBlob(blob);
            std::memset(blob.bytes, 0, sizeof blob.bytes);
            emitterDone = true;
        });
        r.onValue = [&] {
            // Inside the slot: shut down and wait until the emitter has left.
            BlockingDelivery::beginShutdown();
            QVERIFY(spinUntil([&] { return emitterDone.load(); }, 3000));
        };
        emitter.start();
        QVERIFY(spinUntil([&] { return r.calls.load() == 1; }, 3000));
        QVERIFY(emitter.wait(1000));
        for (unsigned char b : r.lastBlob.bytes)
            QCOMPARE(int(b), 0xA5);
    }
};

QTEST_MAIN(BlockingDeliveryTest)
#include "tst_blocking_delivery.moc"
