// Temporary folders and environment for the shell tests.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/gbk/gbk.h"

namespace shelltest {

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/w32shell_XXXXXX";
        if (mkdtemp(tmpl)) path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }
    std::string gbk() const { return gbk::FromUtf8(path_); }

private:
    std::string path_;
};

// Sets an environment variable for the test's duration.
class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvVar() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

inline std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-8 text as the program holds it (GBK).
inline std::string G(const char* utf8) { return gbk::FromUtf8(utf8); }

}  // namespace shelltest
