// Preloaded into quillet-export by its test: raises the signal QUILLET_TEST_SIGNAL at the first call of
// QUILLET_TEST_SIGNAL_AT, so that a signal arrives at a chosen step of putting the file in place rather
// than at a guessed time. fdatasync (the sync before the file takes its place) and fallocate (the
// reservation that opens an in-place copy) raise it before the call, renameat after it succeeds.

#include <dlfcn.h>
#include <sys/types.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

bool isTheChosenCall(const char* name) {
    static bool raised = false;
    const char* chosen = std::getenv("QUILLET_TEST_SIGNAL_AT");
    if (raised || chosen == nullptr || std::strcmp(chosen, name) != 0) {
        return false;
    }
    raised = true;
    return true;
}

void raiseAt(const char* name) {
    if (isTheChosenCall(name)) {
        std::raise(std::atoi(std::getenv("QUILLET_TEST_SIGNAL")));
    }
}

template <typename Function> Function systemCall(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fdatasync(int descriptor) {
    raiseAt("fdatasync");
    return systemCall<int (*)(int)>("fdatasync")(descriptor);
}

extern "C" int fallocate(int descriptor, int mode, off_t offset, off_t length) {
    raiseAt("fallocate");
    return systemCall<int (*)(int, int, off_t, off_t)>("fallocate")(descriptor, mode, offset, length);
}

extern "C" int fallocate64(int descriptor, int mode, off_t offset, off_t length) {
    raiseAt("fallocate");
    return systemCall<int (*)(int, int, off_t, off_t)>("fallocate64")(descriptor, mode, offset, length);
}

extern "C" int renameat(int oldFolder, const char* oldName, int newFolder, const char* newName) {
    const int renamed = systemCall<int (*)(int, const char*, int, const char*)>("renameat")(
        oldFolder, oldName, newFolder, newName);
    if (renamed == 0) {
        raiseAt("renameat");
    }
    return renamed;
}
