#pragma once
#include <QObject>

// Delivery of a signal from a device thread to a slot on the GUI thread that makes the
// emitting thread wait until the slot has returned, without ever hanging the program.
//
// - The emitter waits in short slices; it gives up when the program is shutting down, while
//   the GUI thread is waiting for another thread (WaitScope), or when the receiver is gone.
// - Each delivery owns a shared copy of the signal's arguments, so the slot never reads
//   the emitter's stack, even when the emitter gave up while the slot was running.
// - A call that the emitter gave up on before it started is dropped, never run later.
// - With several receivers the emitter waits for each in connection order.
// - Emitted on the GUI thread, the slot is called directly.
namespace BlockingDelivery {

// Connects sender's signal to receiver's slot (both normalised signatures, SIGNAL()/SLOT()
// style texts are accepted too). Call on the receiver's thread. The argument types must be
// known to the meta-type system (see registerArgumentType). Returns false on a bad pair.
bool connect(QObject* sender, const char* signal, QObject* receiver, const char* slot);

// The normalised signature of a signal or slot text, without the code digit of a
// SIGNAL()/SLOT() text; empty for a null text.
QByteArray signature(const char* text);

// Registers a type for copying under the name the signatures use.
template <typename T>
void registerArgumentType(const char* name)
{
    qRegisterMetaType<T>(name);
}

// The program is quitting: every waiting and every later delivery gives up at once. Called
// by the quit sequence before it waits for anything, and by itself when the main event
// loop ends.
void beginShutdown();
bool isShuttingDown();
// Undoes beginShutdown (tests that go on after a simulated quit).
void resetShutdown();

// Held by the GUI thread while it waits for another thread (joining the Worker, closing
// the data link): deliveries give up and are dropped meanwhile, so neither side waits
// for the other.
class WaitScope {
public:
    WaitScope();
    ~WaitScope();
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
};

// Length of one wait slice in milliseconds.
constexpr int SliceMs = 20;

}  // namespace BlockingDelivery
