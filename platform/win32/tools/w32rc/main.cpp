// w32rc -o out.cpp --header resdata.h [--depfile out.d] [-I dir]... [file.rc...]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "w32rc.h"

namespace {

// Make-style escaping of a path in a dependency file.
std::string DepPath(const std::string& p) {
    std::string out;
    for (char c : p) {
        if (c == ' ' || c == '#') out.push_back('\\');
        if (c == '$') out.push_back('$');
        out.push_back(c);
    }
    return out;
}

int Usage() {
    std::cerr << "usage: w32rc -o out.cpp --header resdata.h [--depfile out.d] [-I dir]... [file.rc...]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string out, header, depfile;
    w32rc::Options opt;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error("missing value after " + a);
            return argv[++i];
        };
        try {
            if (a == "-o")
                out = value();
            else if (a == "--header")
                header = value();
            else if (a == "--depfile")
                depfile = value();
            else if (a == "-I")
                opt.includeDirs.push_back(value());
            else if (a.size() > 2 && a.compare(0, 2, "-I") == 0)
                opt.includeDirs.push_back(a.substr(2));
            else if (!a.empty() && a[0] == '-')
                return Usage();
            else
                files.push_back(a);
        } catch (const std::exception& e) {
            std::cerr << "w32rc: " << e.what() << "\n";
            return Usage();
        }
    }
    if (out.empty() || header.empty()) return Usage();
    try {
        w32rc::Script script = w32rc::Compile(files, opt);
        std::string source = w32rc::Emit(script, header);
        std::ofstream o(out, std::ios::binary | std::ios::trunc);
        o << source;
        if (!o.flush()) throw w32rc::Error(out + ": cannot write");
        if (!depfile.empty()) {
            std::ofstream d(depfile, std::ios::trunc);
            d << DepPath(out) << ":";
            for (const std::string& dep : script.dependencies) d << " \\\n  " << DepPath(dep);
            d << "\n";
            if (!d.flush()) throw w32rc::Error(depfile + ": cannot write");
        }
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << "\n";
        std::remove(out.c_str());
        return 1;
    }
    return 0;
}
