// A slow disk for the program under test, loaded with LD_PRELOAD: every flush to disk takes a second
// (LUMENO_SLOW_DISK_MS), as on a busy spinning disk or a stalled network home. Whatever waits for it on
// the event loop shows as a stall.
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>

namespace {

void wait() {
    const char* configured = std::getenv("LUMENO_SLOW_DISK_MS");
    const long ms = configured ? std::atol(configured) : 1000;
    timespec pause{ms / 1000, (ms % 1000) * 1000000};
    while (nanosleep(&pause, &pause) != 0) {
    }
}

template <typename Call> Call original(const char* name) {
    return reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd) {
    wait();
    static const auto call = original<int (*)(int)>("fsync");
    return call(fd);
}

extern "C" int fdatasync(int fd) {
    wait();
    static const auto call = original<int (*)(int)>("fdatasync");
    return call(fd);
}
