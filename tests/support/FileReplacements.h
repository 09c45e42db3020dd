#pragma once
// Counts the files of one folder replaced by an atomic write (a temporary beside the file renamed
// over it), from the kernel's notices of the folder: the count needs nothing of the writer. The
// notices of the temporaries are counted: each write has its own name, while the kernel merges
// notices of one name that follow each other unread.
#include <QString>
#include <QStringList>

class FileReplacements {
public:
    // The folder must exist.
    explicit FileReplacements(const QString& folder);
    ~FileReplacements();
    FileReplacements(const FileReplacements&) = delete;
    FileReplacements& operator=(const FileReplacements&) = delete;

    bool watching() const { return m_watch >= 0; }
    // The files replaced since the start whose names begin with `prefix`.
    int count(const QString& prefix = QString());

private:
    void drain();

    int m_fd = -1;
    int m_watch = -1;
    QStringList m_names;
};
