#include "office/table_install.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <map>
#include <optional>

#include "data/data_file_error.h"
#include "data/key_layout.h"
#include "data/table_file.h"
#include "data/table_files.h"
#include "data/untin_lock.h"
#include "office/table_diff.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

std::string bracketed(const fs::path& dir) { return "「" + toValidUtf8(dir.string()) + "」"; }

// "Untin.20261209-103000" beside "Untin"; "-2", "-3", … when one is there.
// Empty path and `failure` set when none can be made.
fs::path makeKeepingFolder(const fs::path& untinDir, std::chrono::system_clock::time_point now,
                           std::string& failure) {
    fs::path dir = fs::absolute(untinDir).lexically_normal();
    if (dir.filename().empty()) dir = dir.parent_path();  // "Untin/"
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = dir.filename().string() + "." + stamp;
    for (int n = 1; n <= 100; ++n) {
        const fs::path candidate =
            dir.parent_path() / (n == 1 ? base : base + "-" + std::to_string(n));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) return candidate;
        if (ec) {
            failure = "前の表を残すフォルダ" + bracketed(candidate) + "を作れません（" +
                      systemErrorText(ec.value()) + "）。";
            return {};
        }
    }
    failure = "前の表を残すフォルダを作れません（" + base + " がすでに 100 個あります）。";
    return {};
}

// The bytes of the files there are; a file that is not there is absent.
// Throws DataFileError for one that is there and cannot be read.
std::map<std::string, std::string> readPresent(const fs::path& dir,
                                               const std::vector<std::string>& names) {
    std::map<std::string, std::string> bytes;
    for (const std::string& name : names) {
        try {
            bytes.emplace(name, readTableFileBytes(dir, name));
        } catch (const DataFileError& failure) {
            if (failure.kind() != DataFileError::Kind::FileNotFound) throw;
        }
    }
    return bytes;
}

// Writes a new file holding `bytes`, not yet flushed.
bool writeNewFile(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 && done == bytes.size();
}

// Keeps the files as they are in `kept`. A file about to be replaced gets a
// second name there (the rename of the new file leaves that name its only
// one, so nothing written later reaches it); any other a copy of its bytes
// (a second name would share later edits made in place). One flush of the
// file system for all, instead of one per file: the install's own writes
// pay for theirs. Returns the failure, empty when kept.
std::string keepFiles(const fs::path& untinDir, const fs::path& kept,
                      const std::map<std::string, std::string>& old,
                      const std::vector<std::string>& replacing) {
    for (const auto& [name, bytes] : old) {
        const fs::path target = kept / name;
        const bool replaced =
            std::find(replacing.begin(), replacing.end(), name) != replacing.end();
        if (replaced && ::linkat(AT_FDCWD, (untinDir / name).c_str(), AT_FDCWD, target.c_str(),
                                 AT_SYMLINK_FOLLOW) == 0)
            continue;
        // No second name on this file system (or across two): a copy.
        if (!writeNewFile(target, bytes))
            return "「" + name + "」を" + bracketed(kept) + "に残せません（" +
                   systemErrorText(errno) + "）。";
    }
    const int fd = ::open(kept.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        return bracketed(kept) + "をディスクに書き込めません（" + systemErrorText(error) + "）。";
    }
    ::close(fd);
    return {};
}

// The files replaced so far back as they were. Returns the names that could
// not be put back.
std::vector<std::string> putBack(const fs::path& untinDir, const std::vector<std::string>& replaced,
                                 const std::map<std::string, std::string>& old) {
    std::vector<std::string> left;
    for (auto name = replaced.rbegin(); name != replaced.rend(); ++name) {
        try {
            const auto before = old.find(*name);
            if (before != old.end()) {
                writeFileAtomically(untinDir, *name, before->second);
            } else {
                fs::remove(untinDir / *name);
            }
        } catch (const std::exception&) {
            left.push_back(*name);
        }
    }
    return left;
}

}  // namespace

const std::vector<std::string>& officeFiles() {
    static const std::vector<std::string> files = [] {
        // The square tables: the files the settings screen writes are the
        // counter's own.
        std::vector<std::string> names;
        for (const TableFile& file : TableFiles)
            if (file.member != nullptr) names.emplace_back(file.fileName());
        return names;
    }();
    return files;
}

Installation installTables(const fs::path& newDir, const fs::path& untinDir,
                           std::chrono::system_clock::time_point now) {
    Installation result;
    std::error_code ec;
    if (!fs::is_directory(untinDir, ec)) {
        result.failure = "入れる先のフォルダ" + bracketed(untinDir) + "が見つかりません。";
        return result;
    }
    if (fs::equivalent(newDir, untinDir, ec)) {
        result.failure = "新しい表のフォルダと入れる先のフォルダが同じです（" +
                         toValidUtf8(untinDir.string()) + "）。";
        return result;
    }

    // The set checked is the set installed: both read under one lock.
    std::map<std::string, std::string> incoming;
    {
        const std::optional<UntinLock> lock = sharedLockIfInUse(newDir);
        result.findings = checkTables(newDir);
        if (checkFails(result.findings, false)) {
            result.refused = true;
            return result;
        }
        try {
            incoming = readPresent(newDir, officeFiles());
        } catch (const DataFileError& failure) {
            result.failure = failure.what();
            return result;
        }
        if (incoming.size() != officeFiles().size()) {
            result.failure =
                "新しい表のフォルダ" + bracketed(newDir) + "の表が点検の後で消えました。";
            return result;
        }
    }

    // The counter's pair as whoever opens the folder leaves it: a settings
    // save cut short finished or discarded, so that the set kept is whole.
    try {
        recoverKeySettings(untinDir);
    } catch (const DataFileError& failure) {
        result.failure = std::string(failure.what()) + " 何も入れ替えていません。";
        return result;
    }
    const UntinLock lock(untinDir, UntinLockMode::Exclusive);
    std::map<std::string, std::string> old;
    try {
        old = readPresent(untinDir, checkedFiles());
    } catch (const DataFileError& failure) {
        result.failure =
            std::string("今の表を控えられません: ") + failure.what() + " 何も入れ替えていません。";
        return result;
    }
    std::vector<std::string> changed;
    for (const std::string& name : officeFiles()) {
        const auto before = old.find(name);
        if (before == old.end() || before->second != incoming.at(name)) changed.push_back(name);
    }
    if (changed.empty()) return result;

    result.kept = makeKeepingFolder(untinDir, now, result.failure);
    if (result.kept.empty()) {
        result.failure += " 何も入れ替えていません。";
        return result;
    }
    if (std::string failure = keepFiles(untinDir, result.kept, old, changed); !failure.empty()) {
        fs::remove_all(result.kept, ec);
        result.kept.clear();
        result.failure = "前の表を残せません: " + failure + " 何も入れ替えていません。";
        return result;
    }

    for (const std::string& name : changed) {
        try {
            writeFileAtomically(untinDir, name, incoming.at(name));
        } catch (const DataFileError& failure) {
            // A failure after the rename (the folder's flush) leaves the new
            // file in place: it goes back with the others.
            std::vector<std::string> touched = result.replaced;
            const auto before = old.find(name);
            try {
                if (before == old.end() || readTableFileBytes(untinDir, name) != before->second)
                    touched.push_back(name);
            } catch (const DataFileError&) {
                if (before != old.end()) touched.push_back(name);
            }
            const std::vector<std::string> left = putBack(untinDir, touched, old);
            result.failure = failure.what();
            if (left.empty()) {
                result.failure +=
                    " 入れ替えた表は元に戻しました。" + bracketed(untinDir) + "は前のままです。";
                fs::remove_all(result.kept, ec);
                result.kept.clear();
            } else {
                std::string names;
                for (const std::string& n : left) names += (names.empty() ? "" : "、") + n;
                result.failure += " 元に戻せなかった表: " + names + "。前の表は" +
                                  bracketed(result.kept) + "にあります。";
            }
            result.replaced.clear();
            return result;
        }
        result.replaced.push_back(name);
    }
    return result;
}

}  // namespace kippurun
