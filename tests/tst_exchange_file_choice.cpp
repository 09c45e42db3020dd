// The file dialogs of the exchange files (profiles and macros) as a user answers them.
#include "dialogs/ExchangeFileChoice.h"
#include "pages/macro/MacroFileChoice.h"
#include "support/ModalAnswerer.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class ExchangeFileChoiceTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_home;

    // The path the save dialog gives for a name typed into it.
    QString saveAs(const QString& typed, const std::function<QString()>& choose)
    {
        ModalAnswerer answerer;
        answerer.on(QStringLiteral("QFileDialog"), [&typed](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            auto* name = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!name) {
                modal->close();
                return;
            }
            name->setText(typed);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QString path = choose();
        if (answerer.handled() != QStringList{QStringLiteral("QFileDialog")})
            return QStringLiteral("<no dialog>");
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    // A name typed without an extension gets the filter's, so that the import's filter lists
    // the file again; a name with an extension is kept as typed.
    void saveGivesTheFiltersExtension_data()
    {
        QTest::addColumn<bool>("macro");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("file");
        QTest::newRow("profile") << false << "mine" << "mine.bin";
        QTest::newRow("profile with extension") << false << "mine.bin" << "mine.bin";
        QTest::newRow("profile other extension") << false << "mine.dat" << "mine.dat";
        QTest::newRow("macro") << true << "copy" << "copy.ini";
        QTest::newRow("macro with extension") << true << "copy.ini" << "copy.ini";
    }

    void saveGivesTheFiltersExtension()
    {
        QFETCH(bool, macro);
        QFETCH(QString, typed);
        QFETCH(QString, file);
        const QString path = saveAs(typed, [macro] {
            return macro ? chooseMacroExchangeFile(nullptr, true)
                         : chooseExchangeFile(nullptr, true, QStringLiteral("File(*.bin)"));
        });
        QCOMPARE(path, QDir(m_home.path()).filePath(file));
    }
};

QTEST_MAIN(ExchangeFileChoiceTest)
#include "tst_exchange_file_choice.moc"
