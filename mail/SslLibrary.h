// OpenSSL, loaded when the first mail run over SSL needs it instead of at
// start-up: the program starts without mapping and relocating libssl and
// libcrypto. A file that includes this header after the OpenSSL headers
// makes its OpenSSL calls through the loaded library (the OpenSSL macros
// expand to these calls too); it checks SslLibrary::Get() first.
#pragma once

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

// The OpenSSL functions the mail run calls, directly or through OpenSSL's macros.
#define TARVEL_SSL_FUNCTIONS(X)         \
    X(OPENSSL_init_crypto)              \
    X(OPENSSL_init_ssl)                 \
    X(OPENSSL_thread_stop)              \
    X(ERR_clear_error)                  \
    X(TLS_client_method)                \
    X(SSL_CTX_new)                      \
    X(SSL_CTX_free)                     \
    X(SSL_CTX_ctrl)                     \
    X(SSL_CTX_set_verify)               \
    X(SSL_CTX_set_default_verify_paths) \
    X(SSL_ctrl)                         \
    X(SSL_get0_param)                   \
    X(SSL_set1_host)                    \
    X(SSL_get_verify_result)            \
    X(SSL_set_quiet_shutdown)           \
    X(X509_VERIFY_PARAM_set1_ip_asc)    \
    X(X509_verify_cert_error_string)    \
    X(BIO_new_ssl)                      \
    X(BIO_new_socket)                   \
    X(BIO_push)                         \
    X(BIO_free_all)                     \
    X(BIO_ctrl)                         \
    X(BIO_test_flags)                   \
    X(BIO_read)                         \
    X(BIO_write)

class SslLibrary {
public:
    // The library, loaded at the first call (thread-safe); null when it
    // cannot be loaded or lacks a function.
    static const SslLibrary* Get();

#define TARVEL_SSL_MEMBER(name) decltype(&::name) name = nullptr;
    TARVEL_SSL_FUNCTIONS(TARVEL_SSL_MEMBER)
#undef TARVEL_SSL_MEMBER
};

#ifndef TARVEL_SSL_LIBRARY_ITSELF
#define OPENSSL_init_crypto SslLibrary::Get()->OPENSSL_init_crypto
#define OPENSSL_init_ssl SslLibrary::Get()->OPENSSL_init_ssl
#define OPENSSL_thread_stop SslLibrary::Get()->OPENSSL_thread_stop
#define ERR_clear_error SslLibrary::Get()->ERR_clear_error
#define TLS_client_method SslLibrary::Get()->TLS_client_method
#define SSL_CTX_new SslLibrary::Get()->SSL_CTX_new
#define SSL_CTX_free SslLibrary::Get()->SSL_CTX_free
#define SSL_CTX_ctrl SslLibrary::Get()->SSL_CTX_ctrl
#define SSL_CTX_set_verify SslLibrary::Get()->SSL_CTX_set_verify
#define SSL_CTX_set_default_verify_paths SslLibrary::Get()->SSL_CTX_set_default_verify_paths
#define SSL_ctrl SslLibrary::Get()->SSL_ctrl
#define SSL_get0_param SslLibrary::Get()->SSL_get0_param
#define SSL_set1_host SslLibrary::Get()->SSL_set1_host
#define SSL_get_verify_result SslLibrary::Get()->SSL_get_verify_result
#define SSL_set_quiet_shutdown SslLibrary::Get()->SSL_set_quiet_shutdown
#define X509_VERIFY_PARAM_set1_ip_asc SslLibrary::Get()->X509_VERIFY_PARAM_set1_ip_asc
#define X509_verify_cert_error_string SslLibrary::Get()->X509_verify_cert_error_string
#define BIO_new_ssl SslLibrary::Get()->BIO_new_ssl
#define BIO_new_socket SslLibrary::Get()->BIO_new_socket
#define BIO_push SslLibrary::Get()->BIO_push
#define BIO_free_all SslLibrary::Get()->BIO_free_all
#define BIO_ctrl SslLibrary::Get()->BIO_ctrl
#define BIO_test_flags SslLibrary::Get()->BIO_test_flags
#define BIO_read SslLibrary::Get()->BIO_read
#define BIO_write SslLibrary::Get()->BIO_write
#endif
