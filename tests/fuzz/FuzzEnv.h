#pragma once
// What every fuzz target shares: one set-up per process (an application object, a temporary
// home and program folder, an empty simulated device library without its control socket),
// and the writing of an input to the file a reader takes.
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzenv {

// Call from LLVMFuzzerInitialize. Safe to call more than once.
void setUp(int* argc, char*** argv);

QString homeDir();
QString programDir();

// Replaces the file at path with the bytes, creating its folder. False when it cannot.
bool writeFile(const QString& path, const uint8_t* data, size_t size);
bool writeFile(const QString& path, const QByteArray& bytes);

// A fresh empty folder below the temporary home for one input, never used before, so a
// reader that caches files by name never sees an earlier input's file. The folder handed
// out before is removed (one caller per target).
QString freshFolder(const QString& name);

// A mouse (CID 0x0A, MID 1) behind a 4 kHz receiver with a light in the simulated library,
// with no delays. Returns the receiver's path; *mouseId the mouse's id. Aborts when it cannot.
QByteArray addReceiverMouse(int* mouseId);
// Opens the library's link on path with a callback that keeps only the first whole
// configuration it answers, asks for one and returns it (the link stays open with that
// callback until the process ends, so later answers of the library go nowhere). Aborts when
// none comes.
QByteArray firstFullAnswer(const QByteArray& path);

}  // namespace fuzzenv

// A broken promise of a reader: printed and turned into a crash, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
