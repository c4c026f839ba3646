// SHELL32 ShellExecuteA: web links and files go to the desktop's default
// programs through the desktop's opener (xdg-open), whose answer tells
// whether a program took them.
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtCore/QStandardPaths>
#include <QtCore/QUrl>
#include <QtGui/QGuiApplication>

#include <cctype>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gbk/gbk.h"
#include "shell/shell_internal.h"
#include "w32_internal.h"
#include "win32.h"
#include "win32_testhooks_shell.h"

namespace {

bool RecordOnly() {
    if (w32shell::Tests().recordOnly < 0) return QGuiApplication::platformName() == QLatin1String("offscreen");
    return w32shell::Tests().recordOnly != 0;
}

// "scheme:..." with a scheme of two or more letters (one letter is a drive).
bool IsUrl(const std::string& s) {
    size_t colon = s.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    if (!std::isalpha(static_cast<unsigned char>(s[0]))) return false;
    for (size_t i = 1; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

std::string Str(LPCSTR s) { return s ? std::string(s) : std::string(); }

// Hands the address to the desktop's opener. It fails quickly when the desktop
// has no program for it; one that is still running after a while (it waits
// for the program it started) has found one. Its messages stay off the
// terminal: the caller tells the user.
bool OpenWithDesktop(const QUrl& url) {
    QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return false;
    auto* p = new QProcess;
    p->setProgram(opener);
    p->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    p->start();
    if (!p->waitForStarted()) {
        delete p;
        return false;
    }
    if (p->waitForFinished(3000)) {
        bool ok = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
        delete p;
        return ok;
    }
    QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
    return true;
}

}  // namespace

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters, LPCSTR lpDirectory,
                        INT nShowCmd) {
    auto result = [](intptr_t v) { return reinterpret_cast<HINSTANCE>(v); };
    if (!lpFile) return result(SE_ERR_FNF);
    std::string file = lpFile;
    QUrl url;
    bool missing = false;
    if (IsUrl(file)) {
        // GBK -> Unicode; QUrl percent-encodes what a URL cannot carry as is
        // (blanks, Chinese), keeping the separators (",", "@", "?", "&").
        url = QUrl(w32::ToQt(file), QUrl::TolerantMode);
    } else {
        std::filesystem::path p = w32shell::ToFsPath(file.c_str());
        if (p.is_relative()) {
            std::string dir = w32shell::ToFsPath(lpDirectory);
            std::error_code ec;
            p = (dir.empty() ? std::filesystem::current_path(ec) : std::filesystem::path(dir)) / p;
        }
        p = p.lexically_normal();
        std::error_code ec;
        missing = !std::filesystem::exists(p, ec);
        url = QUrl::fromLocalFile(QString::fromStdString(p.string()));
    }
    bool recordOnly;
    {
        std::lock_guard<std::mutex> lock(w32shell::Tests().execMutex);
        w32shell::Tests().execCalls.push_back({hwnd, Str(lpOperation), file, Str(lpParameters), Str(lpDirectory),
                                               nShowCmd, url.toString(QUrl::FullyEncoded).toStdString()});
        recordOnly = RecordOnly();
    }
    if (missing) return result(SE_ERR_FNF);
    if (!url.isValid()) return result(SE_ERR_NOASSOC);
    if (recordOnly) return result(42);
    bool ok = false;
    w32::RunOnUiThread([&] { ok = OpenWithDesktop(url); });
    return result(ok ? 42 : SE_ERR_NOASSOC);
}
