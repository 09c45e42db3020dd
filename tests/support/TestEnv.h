#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// One test's world: a temporary home folder (the per-user folder and the configuration
// folder with the registry values and the state folder live under it, whatever XDG_DATA_HOME,
// XDG_CONFIG_HOME and XDG_STATE_HOME say), a
// temporary program folder for data files, and a freshly reset simulated device library
// with every delay set to 0 (and no hot-plug registration or data link left from before).
class TestEnv {
public:
    TestEnv();
    ~TestEnv();

    QString home() const { return m_home.path(); }
    QString programDir() const { return m_program.path(); }
    QString userDir() const;

    // Writes a file below the program folder, creating folders as needed.
    void writeProgramFile(const QString& relativePath, const QByteArray& content) const;
    // Copies the data files that the build staged beside the program into the program folder.
    void stageShippedData() const;
    // Only these files or folders of it (paths below the program folder, e.g. "Picture/Macro").
    void stageShippedData(const QStringList& items) const;

private:
    QTemporaryDir m_home;
    QTemporaryDir m_program;
    QByteArray m_oldHome;
    QByteArray m_oldConfigHome;
    bool m_hadConfigHome;
    QByteArray m_oldDataHome;
    bool m_hadDataHome;
    QByteArray m_oldStateHome;
    bool m_hadStateHome;
};
