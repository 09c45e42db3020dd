#include "app/CrashHandler.h"

#include "common/AppPaths.h"

#include <QByteArray>
#include <QDateTime>

#include <atomic>
#include <csignal>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <cxxabi.h>
#include <exception>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <typeinfo>
#include <unistd.h>

namespace {

const int FatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGILL, SIGFPE};

char reportFolder[4096];
long utcOffset = 0;
std::atomic<long> reportingThread{0};
char alternateStack[64 * 1024];

long currentThreadId()
{
    return long(syscall(SYS_gettid));
}

// Enough for any 64-bit number in decimal or hexadecimal.
constexpr int MaxDigits = 20;

// Writes the digits of value in base 10 or 16 (lower case), most significant first, into
// out; returns how many. Async-signal-safe.
int formatDigits(unsigned long long value, unsigned base, char (&out)[MaxDigits])
{
    char reversed[MaxDigits];
    int n = 0;
    do {
        reversed[n++] = "0123456789abcdef"[value % base];
        value /= base;
    } while (value && n < MaxDigits);
    for (int i = 0; i < n; ++i)
        out[i] = reversed[n - 1 - i];
    return n;
}

// Small fixed-buffer writer; everything here must stay async-signal-safe.
class ReportWriter {
public:
    explicit ReportWriter(int fd) : m_fd(fd) {}
    void text(const char* s)
    {
        if (s)
            write(s, std::strlen(s));
    }
    void number(unsigned long long value)
    {
        char digits[MaxDigits];
        write(digits, size_t(formatDigits(value, 10, digits)));
    }

private:
    void write(const char* data, size_t size)
    {
        while (size) {
            const ssize_t done = ::write(m_fd, data, size);
            if (done <= 0)
                return;
            data += done;
            size -= size_t(done);
        }
    }
    int m_fd;
};

const char* signalName(int signalNumber)
{
    switch (signalNumber) {
    case SIGSEGV: return "SIGSEGV (segmentation fault)";
    case SIGABRT: return "SIGABRT (abort)";
    case SIGBUS: return "SIGBUS (bus error)";
    case SIGILL: return "SIGILL (illegal instruction)";
    case SIGFPE: return "SIGFPE (floating-point error)";
    default: return "unknown signal";
    }
}

void putTwoDigits(char* out, long value)
{
    out[0] = char('0' + value / 10 % 10);
    out[1] = char('0' + value % 10);
}

// Returns when this thread may write the report; false when the report is already written or
// being written by this thread (the abort that follows an uncaught exception).
bool claimReport()
{
    const long self = currentThreadId();
    long expected = 0;
    if (reportingThread.compare_exchange_strong(expected, self))
        return true;
    if (expected == self)
        return false;
    // Another thread is writing its report; let it finish and end the process.
    for (int i = 0; i < 5; ++i)
        sleep(1);
    return false;
}

void restoreDefaultAndRaise(int signalNumber)
{
    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
    raise(signalNumber);
}

void onFatalSignal(int signalNumber, siginfo_t* info, void*)
{
    if (claimReport()) {
        char detail[64] = "address: 0x";
        if (info && (signalNumber == SIGSEGV || signalNumber == SIGBUS || signalNumber == SIGILL || signalNumber == SIGFPE)) {
            char digits[MaxDigits];
            const int n = formatDigits(reinterpret_cast<unsigned long long>(info->si_addr), 16, digits);
            size_t at = std::strlen(detail);
            for (int i = 0; i < n && at + 1 < sizeof(detail); ++i)
                detail[at++] = digits[i];
            detail[at] = '\0';
            CrashDumpFilter(signalNumber, detail);
        } else {
            CrashDumpFilter(signalNumber);
        }
    }
    restoreDefaultAndRaise(signalNumber);
}

void onTerminate()
{
    // Not a signal handler: naming the exception is allowed here.
    char detail[512] = "uncaught C++ exception";
    if (std::type_info* type = abi::__cxa_current_exception_type()) {
        std::strncat(detail, ", type ", sizeof(detail) - std::strlen(detail) - 1);
        std::strncat(detail, type->name(), sizeof(detail) - std::strlen(detail) - 1);
        try {
            std::rethrow_exception(std::current_exception());
        } catch (const std::exception& error) {
            std::strncat(detail, ": ", sizeof(detail) - std::strlen(detail) - 1);
            std::strncat(detail, error.what(), sizeof(detail) - std::strlen(detail) - 1);
        } catch (...) {
        }
    }
    if (claimReport())
        CrashDumpFilter(SIGABRT, detail);
    std::abort();
}

}  // namespace

void crashReportFileName(long long utcSeconds, long offsetSeconds, char (&name)[24])
{
    const long long local = utcSeconds + offsetSeconds;
    long long days = local / 86400;
    long long seconds = local % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    // Civil date from a day count since 1970-01-01.
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long day = long(doy - (153 * mp + 2) / 5 + 1);
    const long month = long(mp < 10 ? mp + 3 : mp - 9);
    const long year = long(yoe + era * 400 + (month <= 2 ? 1 : 0));

    char* out = name;
    putTwoDigits(out, year / 100);
    putTwoDigits(out + 2, year % 100);
    out[4] = '_';
    putTwoDigits(out + 5, month);
    out[7] = '_';
    putTwoDigits(out + 8, day);
    out[10] = '_';
    putTwoDigits(out + 11, long(seconds / 3600));
    out[13] = '_';
    putTwoDigits(out + 14, long(seconds / 60 % 60));
    out[16] = '_';
    putTwoDigits(out + 17, long(seconds % 60));
    std::memcpy(out + 19, ".dmp", 5);
}

int CrashDumpFilter(int signalNumber, const char* detail)
{
    if (!reportFolder[0])
        return 1;
    struct stat info;
    if (stat(reportFolder, &info) != 0)
        mkdir(reportFolder, 0755);

    char name[24];
    crashReportFileName(static_cast<long long>(time(nullptr)), utcOffset, name);
    char path[sizeof(reportFolder) + sizeof(name) + 4];
    const size_t folderLength = std::strlen(reportFolder);
    std::memcpy(path, reportFolder, folderLength);
    path[folderLength] = '/';
    std::memcpy(path + folderLength + 1, name, sizeof(name));

    // A report never replaces another: a second one in the same second is named "..._2.dmp",
    // then "_3" and so on.
    int fd = -1;
    for (int copy = 1; copy < 100 && fd < 0; ++copy) {
        char* end = path + folderLength + 1 + 19;  // after the time stamp
        if (copy > 1) {
            *end++ = '_';
            if (copy >= 10)
                *end++ = char('0' + copy / 10);
            *end++ = char('0' + copy % 10);
        }
        std::memcpy(end, ".dmp", 5);
        fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST)
            return 1;
    }
    if (fd < 0)
        return 1;
    ReportWriter out(fd);
    out.text("Kavro Mouse Software crash report\nsignal: ");
    out.number(unsigned(signalNumber));
    out.text(" ");
    out.text(signalName(signalNumber));
    out.text("\n");
    if (detail) {
        out.text(detail);
        out.text("\n");
    }
    out.text("process: ");
    out.number(unsigned(getpid()));
    out.text("\nthread: ");
    out.number(static_cast<unsigned long long>(currentThreadId()));
    out.text("\nbacktrace:\n");
    void* frames[64];
    const int depth = backtrace(frames, 64);
    backtrace_symbols_fd(frames, depth, fd);
    close(fd);
    return 1;
}

void CrashHandler::install()
{
    const QByteArray folder = (AppPaths::userDataDir() + QStringLiteral("/Exception")).toLocal8Bit();
    if (folder.size() < int(sizeof(reportFolder)))
        std::memcpy(reportFolder, folder.constData(), size_t(folder.size()) + 1);
    utcOffset = QDateTime::currentDateTime().offsetFromUtc();

    // The first backtrace() loads the unwinder, which allocates; do it now, not in the handler.
    void* frame[1];
    backtrace(frame, 1);

    // A stack overflow leaves no stack for the handler on this thread: give it its own.
    // An alternate stack belongs to one thread only. Other threads (the Worker, the device
    // library's threads) run the handler on their own stack, so a stack overflow there
    // kills the process without a report; every other crash on them is still reported.
    stack_t stack;
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof(alternateStack);
    stack.ss_flags = 0;
    sigaltstack(&stack, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof(action));
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : FatalSignals)
        sigaction(signalNumber, &action, nullptr);
    std::set_terminate(onTerminate);
}
