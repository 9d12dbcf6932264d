// LD_PRELOAD library: gives pseudo-terminals the DTR and RTS lines they lack,
// so that unchanged serial code can key a pty and a test can watch the lines.
//
// ioctl TIOCMGET/TIOCMSET/TIOCMBIS/TIOCMBIC on a pty slave (character major
// 136..143) work on a line state kept here per descriptor; every other call
// goes to the next ioctl. A descriptor starts with both lines raised, as the
// kernel raises them when a serial port is opened; close forgets it.
//
// When LEITUNGSBEOBACHTER_LOG names a file, one line is appended to it for the
// first sight of a descriptor and for every change of DTR or RTS:
//   <monotonic microseconds> fd=<n> dtr=<0|1> rts=<0|1>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>

namespace {

using IoctlFn = int (*)(int, unsigned long, ...);
using CloseFn = int (*)(int);

IoctlFn echtesIoctl() {
    static const auto fn = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "ioctl"));
    return fn;
}

CloseFn echtesClose() {
    static const auto fn = reinterpret_cast<CloseFn>(dlsym(RTLD_NEXT, "close"));
    return fn;
}

struct Leitungen {
    dev_t geraet;
    int bits;
};

std::mutex sperre;
std::map<int, Leitungen>& zustaende() {
    static auto* z = new std::map<int, Leitungen>;  // never destroyed: close may come after exit handlers
    return *z;
}

bool ptyNebenstelle(int fd, dev_t& geraet) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned haupt = major(st.st_rdev);
    geraet = st.st_rdev;
    return haupt >= 136 && haupt <= 143;
}

void protokollieren(int fd, int bits) {
    const char* datei = std::getenv("LEITUNGSBEOBACHTER_LOG");
    if (datei == nullptr || *datei == '\0') return;
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    const long long us = static_cast<long long>(t.tv_sec) * 1000000LL + t.tv_nsec / 1000;
    char zeile[96];
    const int n = std::snprintf(zeile, sizeof zeile, "%lld fd=%d dtr=%d rts=%d\n", us, fd,
                                (bits & TIOCM_DTR) ? 1 : 0, (bits & TIOCM_RTS) ? 1 : 0);
    const int f = open(datei, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (f < 0) return;
    // One write per line keeps lines whole even when processes share the file.
    if (write(f, zeile, static_cast<std::size_t>(n)) != n) { /* nothing to do about it here */ }
    echtesClose()(f);
}

// Carries out a modem-line request on a pty; false when it is none of ours.
bool beobachten(int fd, unsigned long anfrage, void* arg, int& ergebnis) {
    if (anfrage != TIOCMGET && anfrage != TIOCMSET && anfrage != TIOCMBIS && anfrage != TIOCMBIC) return false;
    dev_t geraet{};
    if (!ptyNebenstelle(fd, geraet)) return false;
    if (arg == nullptr) {
        errno = EFAULT;
        ergebnis = -1;
        return true;
    }
    int* wert = static_cast<int*>(arg);
    std::lock_guard<std::mutex> halten(sperre);
    auto [it, neu] = zustaende().try_emplace(fd, Leitungen{geraet, TIOCM_DTR | TIOCM_RTS});
    if (!neu && it->second.geraet != geraet) {  // the number now belongs to another pty
        it->second = Leitungen{geraet, TIOCM_DTR | TIOCM_RTS};
        neu = true;
    }
    if (neu) protokollieren(fd, it->second.bits);
    const int vorher = it->second.bits;
    constexpr int kMaske = TIOCM_DTR | TIOCM_RTS;
    switch (anfrage) {
        case TIOCMGET: *wert = vorher; break;
        case TIOCMSET: it->second.bits = *wert & kMaske; break;
        case TIOCMBIS: it->second.bits = vorher | (*wert & kMaske); break;
        default: it->second.bits = vorher & ~(*wert & kMaske); break;
    }
    if (it->second.bits != vorher) protokollieren(fd, it->second.bits);
    ergebnis = 0;
    return true;
}

}  // namespace

extern "C" int ioctl(int fd, unsigned long anfrage, ...) noexcept {
    // Every ioctl argument is one pointer-sized word; pass it on unchanged.
    std::va_list liste;
    va_start(liste, anfrage);
    void* arg = va_arg(liste, void*);
    va_end(liste);
    int ergebnis = 0;
    if (beobachten(fd, anfrage, arg, ergebnis)) return ergebnis;
    const IoctlFn weiter = echtesIoctl();
    if (weiter == nullptr) {
        errno = ENOSYS;
        return -1;
    }
    return weiter(fd, anfrage, arg);
}

extern "C" int close(int fd) {
    {
        std::lock_guard<std::mutex> halten(sperre);
        zustaende().erase(fd);
    }
    const CloseFn weiter = echtesClose();
    if (weiter == nullptr) {
        errno = ENOSYS;
        return -1;
    }
    return weiter(fd);
}
