// The test harness's modal-dialog answerer: exec loops run to their end offscreen.
#include "support/ModalAnswerer.h"

#include <QtTest>

#include <QDialog>
#include <QPushButton>

class TestModalAnswerer : public QObject {
    Q_OBJECT
private slots:
    void clicksNamedButtonsAndRejectsTheRest();
    void nestedDialogsAreAnsweredInnermostFirst();
};

void TestModalAnswerer::clicksNamedButtonsAndRejectsTheRest()
{
    ModalAnswerer answerer;
    answerer.on("confirm", ModalAnswerer::clickButton("OK"));
    QDialog confirm;
    confirm.setObjectName("confirm");
    auto* ok = new QPushButton("OK", &confirm);
    ok->setObjectName("OK");
    connect(ok, &QPushButton::clicked, &confirm, &QDialog::accept);
    QCOMPARE(confirm.exec(), int(QDialog::Accepted));

    QDialog other;
    QCOMPARE(other.exec(), int(QDialog::Rejected));
    QCOMPARE(answerer.handled(), QStringList({"QDialog", "QDialog"}));

    answerer.setDefault(ModalAnswerer::done(7));
    QDialog third;
    QCOMPARE(third.exec(), 7);
}

void TestModalAnswerer::nestedDialogsAreAnsweredInnermostFirst()
{
    ModalAnswerer answerer;
    QDialog outer;
    outer.setObjectName("outer");
    int innerResult = -1;
    answerer.on("outer", [&](QWidget*) {
        QDialog inner;
        inner.setObjectName("inner");
        innerResult = inner.exec();  // answered by the default while the outer one waits
        outer.accept();
    });
    QCOMPARE(outer.exec(), int(QDialog::Accepted));
    QCOMPARE(innerResult, int(QDialog::Rejected));
    QCOMPARE(answerer.count(), 2);
}

QTEST_MAIN(TestModalAnswerer)
#include "tst_modal_answerer.moc"
