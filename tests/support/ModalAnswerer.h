#pragma once
// Answers modal dialogs while a test drives code that runs exec loops. While the answerer
// lives, a timer looks for QApplication::activeModalWidget() and hands each new modal
// widget once to the first rule whose class name or object name matches, else to the
// default handler (which rejects or closes it).
//
//   ModalAnswerer answerer;
//   answerer.on("ConfirmDialog", ModalAnswerer::clickButton("OK"));
//   answerer.on("UpDateRepair", [](QWidget* w) { ... });
//   page.doSomethingThatRunsExec();
//   QCOMPARE(answerer.handled(), QStringList{"ConfirmDialog"});
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget* modal)>;

    explicit ModalAnswerer(int intervalMs = 20);
    ~ModalAnswerer() override;

    // Rules are tried in the order they were added.
    ModalAnswerer& on(const QString& classOrObjectName, Handler handler);
    void setDefault(Handler handler);

    // Class names of the modal widgets handled so far, in order.
    QStringList handled() const { return m_handled; }
    int count() const { return m_handled.size(); }
    // Processes events until `count` modal widgets were handled, at most timeoutMs.
    bool waitForCount(int count, int timeoutMs = 5000);
    // After a control whose handler queues a dialog: processes events until one more modal
    // widget was handled. The wait returns only once the queued work around it has finished
    // (it runs inside this wait), so what the dialog led to can be checked at once.
    bool waitForNext(int timeoutMs = 5000) { return waitForCount(count() + 1, timeoutMs); }

    // Calls `answer` once `ready` holds for the dialog (`ready` false: it did not within
    // limitMs, which only ends a hang). The wait runs in the dialog's own event loop, as a
    // user's does: a handler that waited inside itself was seen, on a loaded machine, to hold
    // back the signals queued for the dialog from other threads until it returned.
    static void answerWhen(QWidget* dialog, std::function<bool(QWidget*)> ready,
                           std::function<void(QWidget*, bool ready)> answer, int limitMs = 60000);

    // Ready-made handlers.
    static Handler clickButton(const QString& objectName);  // rejects when there is no such button
    static Handler reject();
    static Handler done(int result);

private:
    void check();

    struct Rule {
        QString name;
        Handler handler;
    };
    QTimer m_timer;
    QList<Rule> m_rules;
    Handler m_default;
    // Answered and still shown: a dialog whose inner one just closed is the active modal
    // widget again until its own answer ends it, and is not answered twice.
    QList<QPointer<QWidget>> m_answered;
    QStringList m_handled;
};
