#define TARVEL_SSL_LIBRARY_ITSELF
#include "mail/SslLibrary.h"

#include <dlfcn.h>

namespace {

#define TARVEL_SSL_TEXT(x) #x
#define TARVEL_SSL_NAME(major) "libssl.so." TARVEL_SSL_TEXT(major)

SslLibrary* Load() {
    // The library the program was built against (libssl pulls in libcrypto).
    void* h = dlopen(TARVEL_SSL_NAME(OPENSSL_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    if (!h) return nullptr;
    static SslLibrary lib;
    bool ok = true;
#define TARVEL_SSL_LOAD(name)                                                        \
    lib.name = reinterpret_cast<decltype(&::name)>(dlsym(h, TARVEL_SSL_TEXT(name))); \
    ok = ok && lib.name;
    TARVEL_SSL_FUNCTIONS(TARVEL_SSL_LOAD)
#undef TARVEL_SSL_LOAD
    return ok ? &lib : nullptr;
}

}  // namespace

const SslLibrary* SslLibrary::Get() {
    static SslLibrary* const s_pLib = Load();
    return s_pLib;
}
