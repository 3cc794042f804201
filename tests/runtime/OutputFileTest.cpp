// An output file holds exactly its records, and its staged output writes what open(O_WRONLY | O_CREAT) would
// write and nothing else: the POSIX system's links, folders, FIFOs, devices, owners and names in /proc; a
// hard-linked file takes the whole new content or keeps the old.

#include "runtime/OutputFile.h"
#include "runtime/RuntimeError.h"

#include "PointFiles.h"
#include "TestFiles.h"

#include <QtTest>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <latch>
#include <optional>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Records of 24 bytes, of which Put is given the first 12: the rest is zero filler.
const QByteArray Header = pointRecords({{3, 3, 0}});

// Every name under the folder, links and special files included, a link with its target.
QStringList everything(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString name = QDir(folder).relativeFilePath(info.filePath());
        names << (info.isSymLink() ? name + " -> " + info.symLinkTarget() : name);
    }
    names.sort();
    return names;
}

struct stat statusOf(const QString& path) {
    struct stat status {};
    lstat(QFile::encodeName(path).constData(), &status);
    return status;
}

// fs.protected_symlinks: a link planted by another user (only root can plant one) in a sticky
// world-writable folder is not followed, by root either.
bool linksAreProtected() {
    QFile setting("/proc/sys/fs/protected_symlinks");
    return geteuid() == 0 && setting.open(QIODevice::ReadOnly) && setting.readAll().trimmed() == "1";
}

void writeHeaderTo(const QString& path) {
    OutputFile file(path, 24);
    file.Put(Header.constData(), 12);
    file.Close();
}

// A file-size limit for this process while it lives, its signal ignored: a write past it fails (EFBIG).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit lower = old_;
        lower.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lower);
        oldAction_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldAction_);
    }

private:
    rlimit old_{};
    void (*oldAction_)(int) = SIG_DFL;
};

// Records of 24 bytes filled with one letter: exports told apart by their content and length.
void putRecords(OutputFile& file, char letter, int count) {
    const QByteArray record(24, letter);
    for (int index = 0; index < count; ++index) {
        file.Put(record.constData(), 24);
    }
}

// A file under two names: "a.pts" and its hard link "b.pts".
void makeHardLinked(const QTemporaryDir& dir, const QByteArray& old) {
    writeFile(dir.filePath("a.pts"), old);
    QCOMPARE(link(QFile::encodeName(dir.filePath("a.pts")).constData(),
                  QFile::encodeName(dir.filePath("b.pts")).constData()),
             0);
}

const QByteArray OldContent = QByteArray("OLD!").repeated(30000); // two blocks of the in-place copy

} // namespace

class OutputFileTest : public QObject {
    Q_OBJECT
private slots:
    // A new file is made 0644 here, so a mode that is not kept shows.
    void initTestCase() { umask(022); }

    // Once closed, the file holds exactly its records; never closed (destroyed, or abandoned with every open
    // file while the program goes on), it leaves the old file. No temporary file stays either way.
    void aFileHoldsExactlyItsRecordsOnceClosed_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<bool>("unnamed"); // the temporary file has no name until it is complete
        QTest::addColumn<QString>("ending");
        for (const bool unnamed : {true, false}) {
            const char* temporary = unnamed ? "unnamed temporary" : "named temporary";
            QTest::addRow("new file in a folder with spaces and Chinese characters, %s", temporary)
                << QStringLiteral("导出 数据/未命名 1.txt") << QByteArray() << unnamed << "closed";
            QTest::addRow("a longer old file with a 255-byte name keeps no stale bytes, %s", temporary)
                << QString(251, 'n') + ".txt" << QByteArray(1000, 'x') << unnamed << "closed";
            for (const char* ending : {"destroyed", "abandoned"}) {
                QTest::addRow("%s unclosed, %s", ending, temporary)
                    << "out.txt" << QByteArray("old") << unnamed << ending;
            }
            QTest::addRow("a write failed before the close, %s", temporary)
                << "out.txt" << QByteArray("old") << unnamed << "failed write";
        }
    }
    void aFileHoldsExactlyItsRecordsOnceClosed() {
        QFETCH(QString, name);
        QFETCH(QByteArray, old);
        QFETCH(bool, unnamed);
        QFETCH(QString, ending);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(path).path()));
        if (!old.isEmpty()) {
            writeFile(path, old);
        }
        std::optional<OutputFile> file(
            std::in_place, StagedOutput(QFile::encodeName(path), {.unnamedTemporary = unnamed}), 24);
        const QByteArray point = pointRecords({{1, 1, 40}});
        std::optional<FileSizeLimit> limit;
        if (ending == "failed write") {
            limit.emplace(30); // the writer thread's write of both records stops past 30 bytes
        }
        file->Put(Header.constData(), 12);
        file->Put(point.constData(), 12);
        if (ending == "failed write") {
            try {
                file->Close();
                QFAIL("a file cut short by a failed write was put in place");
            } catch (const RuntimeError& error) {
                QVERIFY2(error.text().contains("File too large"), qPrintable(error.text()));
            }
        }
        ending == "closed"      ? file->Close()
        : ending == "abandoned" ? OutputFile::abandonAllOpen()
                                : file.reset();
        QCOMPARE(contents(path), ending == "closed" ? Header + point : old);
        QCOMPARE(everything(QFileInfo(path).path()), QStringList{QFileInfo(path).fileName()});
    }

    // A temporary file that cannot be removed after a failure is named with it, so that the user can.
    void aTemporaryLeftBehindIsNamedWithTheFailure() {
        QTemporaryDir dir;
        StagedOutput output(QFile::encodeName(dir.filePath("out.pts")), {.unnamedTemporary = false});
        const QStringList temporaries = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(temporaries.size(), 1);
        // Gone before the commit: neither renamed into place nor removed.
        QVERIFY(QFile::remove(dir.filePath(temporaries[0])));
        try {
            output.commit();
            QFAIL("a missing temporary file was put in place");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.reason(), Reason::WriteRefused);
            QCOMPARE(error.failure().notes.size(), std::size_t{1});
            const Failure& note = error.failure().notes[0];
            QCOMPARE(note.reason, Reason::TemporaryLeftBehind);
            QCOMPARE(note.name, QDir(QFileInfo(dir.path()).canonicalFilePath()).filePath(temporaries[0]));
            QCOMPARE(note.systemError, ENOENT);
        }
        QVERIFY(!StagedOutput::takeLeftover()); // told once
    }

    // Whatever open(path, O_WRONLY | O_CREAT) would write is written, and nothing else: the kernel's own
    // resolution of links and folders, its reasons for refusing a name. A file root writes over keeps its
    // owner, group (in a set-group-ID folder too) and mode (a set-user-ID bit, which a new owner clears).
    void destinationsAreTheFilesOpenWouldWrite_data() {
        QTest::addColumn<QString>("destination"); // in the fixture below
        QTest::addColumn<QString>("writtenTo");   // the file that then holds the records; empty: refused
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* tag, const QString& destination, const char* writtenTo,
                            const char* reason) { QTest::newRow(tag) << destination << writtenTo << reason; };
        row("relative link with .. through a linked folder", "work/L/out.pts", "real/c.pts", "");
        row("dangling link: its target is made", "dangling.pts", "real/made.pts", "");
        row("hard link: both names see the new content", "hard.pts", "real/c.pts", "");
        row("link loop", "loop.pts", "", "Too many levels of symbolic links");
        row("folder", "real", "", "it is a folder");
        row("folder by a name ending in /", "work/L/", "", "it is a folder");
        row("socket", "socket", "", "it is a socket");
        row("name too long", QString(256, 'n'), "", "File name too long");
        row("path through a file", "real/c.pts/x.pts", "", "Not a directory");
        row("missing folder", "absent/x.pts", "", "the folder does not exist");
        row("one's own file: its mode kept", "own.pts", "own.pts", "");
        row("read-only file", "readonly.pts", "", "read-only");
        row("read-only folder", "locked/x.pts", "", "");
        row("empty path", "<empty>", "", "no file name was given");
        if (linksAreProtected()) {
            row("another user's link in a sticky shared folder", "shared/out.pts", "", "");
        }
        if (geteuid() == 0) {
            row("another user's file: its mode and owner kept", "owned.pts", "owned.pts", "");
        }
    }
    void destinationsAreTheFilesOpenWouldWrite() {
        QFETCH(QString, destination);
        QFETCH(QString, writtenTo);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const auto at = [&](const char* name) { return QFile::encodeName(dir.filePath(name)); };
        for (const char* folder : {"real/sub", "work", "locked", "shared"}) {
            QVERIFY(QDir(dir.path()).mkpath(folder));
        }
        const QByteArray real = QByteArray("REAL").repeated(10); // longer than the records: no stale tail
        writeFile(dir.filePath("real/c.pts"), real);
        writeFile(dir.filePath("work/c.pts"), "UNRELATED");
        writeFile(dir.filePath("readonly.pts"), "old");
        writeFile(dir.filePath("owned.pts"), "old");
        writeFile(dir.filePath("own.pts"), "old");
        QCOMPARE(chmod(at("own.pts").constData(), 0640), 0);
        if (geteuid() == 0) {
            const QByteArray folder = QFile::encodeName(dir.path());
            QVERIFY(chown(folder.constData(), 0, 100) == 0 && chmod(folder.constData(), 02775) == 0);
            QCOMPARE(chown(at("owned.pts").constData(), 65534, 65534), 0);
        }
        QCOMPARE(chmod(at("owned.pts").constData(), 04604), 0);
        const std::pair<QByteArray, const char*> links[] = {
            {"../c.pts", "real/sub/out.pts"},  {at("real/sub"), "work/L"},
            {"real/made.pts", "dangling.pts"}, {"loop2.pts", "loop.pts"},
            {"loop.pts", "loop2.pts"},         {at("real/c.pts"), "shared/out.pts"}};
        for (const auto& [target, name] : links) {
            QCOMPARE(symlink(target.constData(), at(name).constData()), 0);
        }
        QCOMPARE(link(at("real/c.pts").constData(), at("hard.pts").constData()), 0);
        const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, at("socket").constData(), sizeof address.sun_path);
        QCOMPARE(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        QCOMPARE(chmod(at("readonly.pts").constData(), 0400), 0); // refused even as root
        QCOMPARE(chmod(at("locked").constData(), 0500), 0);
        QCOMPARE(chmod(at("shared").constData(), 01777), 0);
        if (linksAreProtected()) {
            QCOMPARE(lchown(at("shared/out.pts").constData(), 65534, 65534), 0);
        }
        const QString path = destination == "<empty>" ? QString() : dir.filePath(destination);
        const QByteArray old = contents(path);
        const ino_t realInode = statusOf(dir.filePath("real/c.pts")).st_ino;
        QStringList before = everything(dir.path());

        try {
            writeHeaderTo(path);
            QVERIFY2(!writtenTo.isEmpty(), "the destination was accepted");
            QCOMPARE(contents(dir.filePath(writtenTo)), Header);
            if (destination == "own.pts") {
                QCOMPARE(statusOf(dir.filePath(destination)).st_mode & 07777, 0640u);
            }
            if (destination == "owned.pts") {
                const struct stat now = statusOf(dir.filePath(destination));
                QCOMPARE(QList<uint>({now.st_mode & 07777, now.st_uid, now.st_gid}),
                         QList<uint>({04604, 65534, 65534}));
            }
            if (destination == "hard.pts") {
                QCOMPARE(statusOf(dir.filePath(writtenTo)).st_ino, realInode);
                QCOMPARE(contents(dir.filePath(destination)), Header);
            }
            if (writtenTo == "real/made.pts") {
                before << "real/made.pts";
                before.sort();
            }
        } catch (const RuntimeError& error) {
            QVERIFY2(writtenTo.isEmpty(), qPrintable(error.text()));
            QVERIFY2((path.isEmpty() || error.text().contains(QStringLiteral("\"%1\": ").arg(path))) &&
                         error.text().contains(reason),
                     qPrintable(error.text()));
            QCOMPARE(contents(path), old);
        }
        chmod(at("locked").constData(), 0700);
        close(listener);
        QCOMPARE(everything(dir.path()), before); // no temporary, no other file replaced or made
        QCOMPARE(contents(dir.filePath("work/c.pts")), QByteArray("UNRELATED"));
        if (writtenTo != "real/c.pts") {
            QCOMPARE(contents(dir.filePath("real/c.pts")), real);
        }
    }

    // Megabytes of records, reserved one at a time and in runs larger than any buffer, arrive complete and
    // in order, whatever way the buffers are handed to the system. A device or FIFO is written straight
    // into, as shell redirection does: never replaced by a file.
    void manyBuffersOfRecordsArriveInOrder_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("file") << "file";
        QTest::newRow("FIFO with a reader") << "fifo";
        QTest::newRow("character device") << "device";
    }
    void manyBuffersOfRecordsArriveInOrder() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(kind);
        const QByteArray name = QFile::encodeName(path);
        if (kind == "fifo") {
            QCOMPARE(mkfifo(name.constData(), 0600), 0);
        } else if (kind == "device" && mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            path = "/dev/null"; // no private device node here: the system's, checked after
        }
        const struct stat old = statusOf(path);
        QByteArray read;
        std::thread reader([&] {
            QFile end(path);
            if (kind == "fifo" && end.open(QIODevice::ReadOnly)) {
                read = end.readAll();
            }
        });
        QByteArray expected;
        try {
            OutputFile file(path, 24);
            qint32 next = 0;
            const auto fill = [&](std::size_t reserved, std::size_t kept) {
                char* const records = file.reserve(reserved);
                for (std::size_t i = 0; i < reserved; ++i) {
                    const qint32 fields[6] = {next + qint32(i), -1, 7, 0, 0, 0};
                    std::memcpy(records + 24 * i, fields, 24);
                    if (i < kept) {
                        expected.append(reinterpret_cast<const char*>(fields), 24);
                    }
                }
                file.advance(kept);
                next += qint32(reserved);
            };
            for (int round = 0; round < 3; ++round) {
                for (std::size_t run = 1; run < 2000; run += 7) {
                    fill(run, run / 2);
                }
                fill(100000, 99999); // past any pipe's buffer
            }
            file.Close();
        } catch (const RuntimeError& error) {
            QFile(path).open(QIODevice::WriteOnly); // the reader's wait ends
            reader.join();
            QFAIL(qPrintable(error.text()));
        }
        reader.join();
        if (kind != "device") {
            read = kind == "file" ? contents(path) : read;
            QCOMPARE(read.size(), expected.size());
            QVERIFY(read == expected);
        }
        if (kind != "file") {
            QCOMPARE(statusOf(path).st_mode, old.st_mode);
            QCOMPARE(statusOf(path).st_ino, old.st_ino);
        }
    }

    // A name the kernel resolves in /proc (/dev/stdout, /dev/fd/N, /proc/self/fd/N) is written straight into
    // what it resolves to: a pipe or this program's socket as it is, a regular file truncated first, as the
    // shell's > does (it cannot be renamed into); a descriptor that is not open is refused.
    void namesTheKernelResolvesAreWrittenStraightInto_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("folder");
        const auto row = [](const char* tag, const char* kind, const char* folder) {
            QTest::newRow(tag) << QString(kind) << QString(folder);
        };
        row("pipe by /dev/fd/N", "pipe", "/dev/fd/");
        row("pipe by /proc/self/fd/N", "pipe", "/proc/self/fd/");
        row("socket by /dev/fd/N", "socket", "/dev/fd/");
        row("regular file by /proc/self/fd/N: truncated", "file", "/proc/self/fd/");
        row("descriptor not open", "closed", "/dev/fd/");
    }
    void namesTheKernelResolvesAreWrittenStraightInto() {
        QFETCH(QString, kind);
        QFETCH(QString, folder);
        QTemporaryDir dir;
        const QString file = dir.filePath("f.pts");
        int ends[2] = {-1, -1}; // read, write
        if (kind == "pipe") {
            QCOMPARE(pipe(ends), 0);
        } else if (kind == "socket") {
            QCOMPARE(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        } else if (kind == "file") {
            writeFile(file, QByteArray("REAL").repeated(10)); // longer than the records: no stale tail
            ends[1] = open(QFile::encodeName(file).constData(), O_RDWR);
        }
        const int named = kind == "closed" ? 999 : ends[1]; // far above the numbers the program opens
        QVERIFY(kind != "closed" || fcntl(named, F_GETFD) < 0);
        try {
            writeHeaderTo(folder + QString::number(named));
            QVERIFY2(kind != "closed", "a descriptor that is not open was written");
            // What the other end reads; for the file, what its open descriptor (not a new file by its name)
            // holds.
            QByteArray received(4096, '\0');
            received.truncate(kind == "file" ? pread(ends[1], received.data(), received.size(), 0)
                                             : read(ends[0], received.data(), received.size()));
            QCOMPARE(received, Header);
        } catch (const RuntimeError& error) {
            QVERIFY2(kind == "closed" && error.text().contains("No such file or directory"),
                     qPrintable(error.text()));
        }
        for (const int end : ends) {
            close(end);
        }
        QCOMPARE(everything(dir.path()), kind == "file" ? QStringList{"f.pts"} : QStringList{});
    }

    // A file with several hard links is rewritten in place with its new size reserved before the first old
    // byte changes: no room leaves the old content under every name, a file system that cannot reserve is
    // copied into all the same, a write that writes nothing fails at once, and a file that took the name
    // meanwhile is left alone.
    void hardLinkedFilesTakeTheWholeNewContentOrKeepTheOld_data() {
        QTest::addColumn<int>("reservation"); // the errno the reservation gives; -1: the system's own
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("reason"); // empty: written
        const auto row = [](const char* tag, int reservation, const char* meanwhile, const char* reason) {
            QTest::newRow(tag) << reservation << QString(meanwhile) << QString(reason);
        };
        row("reserved", -1, "", "");
        row("no room", ENOSPC, "", "No space left on device");
        row("quota reached", EDQUOT, "", "Disk quota exceeded");
        row("file system that cannot reserve", EOPNOTSUPP, "", "");
        row("a write that writes nothing", -1, "writes nothing", "Input/output error");
        row("another file took the name", -1, "replaced", "another file took its name");
    }
    void hardLinkedFilesTakeTheWholeNewContentOrKeepTheOld() {
        QFETCH(int, reservation);
        QFETCH(QString, meanwhile);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        makeHardLinked(dir, OldContent);
        StagedOutput::Options options;
        if (reservation >= 0) {
            options.inPlace.reserve = [reservation](int, std::int64_t) { return reservation; };
        }
        int writes = 0;
        if (meanwhile == "writes nothing") {
            // Asked again and again, it gives in with another reason.
            options.inPlace.writeAt = [&writes](int, const char*, std::size_t, std::int64_t) -> std::int64_t {
                errno = ENOSPC;
                return ++writes < 1000 ? 0 : -1;
            };
        }
        OutputFile file(StagedOutput(QFile::encodeName(dir.filePath("a.pts")), options), 24);
        putRecords(file, 'n', 6000);
        if (meanwhile == "replaced") {
            writeFile(dir.filePath("other"), "OTHER");
            QCOMPARE(std::rename(QFile::encodeName(dir.filePath("other")).constData(),
                                 QFile::encodeName(dir.filePath("a.pts")).constData()),
                     0);
        }
        try {
            file.Close();
            QVERIFY2(reason.isEmpty(), "written");
            QCOMPARE(contents(dir.filePath("a.pts")), QByteArray(24 * 6000, 'n'));
            QCOMPARE(contents(dir.filePath("b.pts")), QByteArray(24 * 6000, 'n'));
        } catch (const RuntimeError& error) {
            QVERIFY2(!reason.isEmpty() && error.text().contains(reason), qPrintable(error.text()));
            QCOMPARE(contents(dir.filePath("a.pts")),
                     meanwhile == "replaced" ? QByteArray("OTHER") : OldContent);
            QCOMPARE(contents(dir.filePath("b.pts")), OldContent);
        }
        QCOMPARE(everything(dir.path()), (QStringList{"a.pts", "b.pts"}));
    }

    // Twenty exports to one hard-linked file at once: each rewrites it whole in its turn, so the file is
    // always one of them, the same under both names.
    void exportsToAHardLinkedFileAtOnceFollowEachOther() {
        constexpr int Exports = 20;
        QTemporaryDir dir;
        makeHardLinked(dir, OldContent);
        StagedOutput::Options options{.syncBeforeReplacing = false};
        // A pause after every block written: copies that are not kept apart certainly overlap.
        options.inPlace.writeAt = [](int descriptor, const char* data, std::size_t bytes, std::int64_t at) {
            const std::int64_t written = pwrite(descriptor, data, bytes, at);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return written;
        };
        for (int round = 0; round < 3; ++round) {
            std::latch complete(Exports);
            QStringList failures;
            std::mutex failuresMutex;
            std::vector<std::thread> exports;
            for (int index = 0; index < Exports; ++index) {
                exports.emplace_back([&, index] {
                    try {
                        OutputFile file(StagedOutput(QFile::encodeName(dir.filePath("a.pts")), options), 24);
                        putRecords(file, char('A' + index), 2000 + 700 * index);
                        complete.arrive_and_wait();
                        file.Close();
                    } catch (const RuntimeError& error) {
                        const std::lock_guard lock(failuresMutex);
                        failures << error.text();
                    }
                });
            }
            for (std::thread& running : exports) {
                running.join();
            }
            QCOMPARE(failures, QStringList());
            const QByteArray now = contents(dir.filePath("a.pts"));
            const int index = now.isEmpty() ? -1 : now[0] - 'A';
            QVERIFY2(
                index >= 0 && index < Exports && now == QByteArray(24 * (2000 + 700 * index), now[0]),
                qPrintable(
                    QStringLiteral("round %1: %2 bytes, not one whole export").arg(round).arg(now.size())));
            QCOMPARE(contents(dir.filePath("b.pts")), now);
            QCOMPARE(everything(dir.path()), (QStringList{"a.pts", "b.pts"}));
        }
    }

    // A signal whose action ends the program, arriving while a hard-linked file is rewritten in place, ends
    // it only once the copy is complete, also when the system hands it to a thread that does not hold
    // the signals (as Qt's image threads, started after the windows program's start-up).
    void aSignalDuringAnInPlaceCopyEndsTheProgramOnceItIsComplete() {
        QTemporaryDir dir;
        makeHardLinked(dir, OldContent);
        const pid_t child = fork();
        if (child == 0) {
            std::signal(SIGTERM, SIG_DFL); // the windows program's action, not the test framework's
            std::thread([] {
                for (;;) {
                    pause();
                }
            }).detach();
            StagedOutput::Options options;
            options.inPlace.reserve = [](int, std::int64_t) {
                kill(getpid(), SIGTERM);
                return 0;
            };
            try {
                OutputFile file(StagedOutput(QFile::encodeName(dir.filePath("a.pts")), options), 24);
                putRecords(file, 'n', 20000);
                file.Close();
            } catch (const RuntimeError&) {
                _exit(2);
            }
            _exit(0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM, qPrintable(QString::number(status)));
        QCOMPARE(contents(dir.filePath("a.pts")), QByteArray(24 * 20000, 'n'));
        QCOMPARE(contents(dir.filePath("b.pts")), QByteArray(24 * 20000, 'n'));
    }
};

QTEST_APPLESS_MAIN(OutputFileTest)
#include "OutputFileTest.moc"
