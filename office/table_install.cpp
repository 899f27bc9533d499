#include "office/table_install.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <map>
#include <optional>

#include "data/data_file_error.h"
#include "data/folder_transaction.h"
#include "data/table_file.h"
#include "data/table_files.h"
#include "office/table_diff.h"

namespace kippurun {

namespace fs = std::filesystem;

namespace {

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
            failure = "前の表を残すフォルダ" + bracketedPath(candidate) + "を作れません（" +
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
            return "「" + name + "」を" + bracketedPath(kept) + "に残せません（" +
                   systemErrorText(errno) + "）。";
    }
    const int fd = ::open(kept.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        return bracketedPath(kept) + "をディスクに書き込めません（" + systemErrorText(error) +
               "）。";
    }
    ::close(fd);
    return {};
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
        result.failure = "入れる先のフォルダ" + bracketedPath(untinDir) + "が見つかりません。";
        return result;
    }
    // Someone who may not write the folder (a clerk on the installed tables,
    // a read-only share) is told so before anything is checked or kept.
    if (::access(untinDir.c_str(), W_OK) != 0) {
        result.failure = "入れる先のフォルダ" + bracketedPath(untinDir) + "に書き込めません（" +
                         systemErrorText(errno) + "）。何も入れ替えていません。";
        return result;
    }
    if (fs::equivalent(newDir, untinDir, ec)) {
        result.failure = "新しい表のフォルダと入れる先のフォルダが同じです（" +
                         toValidUtf8(untinDir.string()) + "）。";
        return result;
    }

    // The set checked is the set installed: both read from one whole set.
    std::map<std::string, std::string> incoming;
    try {
        readWholeSet({newDir}, [&] {
            result.findings = checkTables(newDir);
            incoming.clear();
            if (!checkFails(result.findings, false)) incoming = readPresent(newDir, officeFiles());
            return 0;
        });
    } catch (const DataFileError& failure) {
        result.failure = failure.what();
        return result;
    }
    if (checkFails(result.findings, false)) {
        result.refused = true;
        return result;
    }
    if (incoming.size() != officeFiles().size()) {
        result.failure =
            "新しい表のフォルダ" + bracketedPath(newDir) + "の表が点検の後で消えました。";
        return result;
    }

    // The folder as whoever opens it leaves it: a transaction cut short
    // settled, so that the set kept is whole; then held until the new set
    // is in.
    std::optional<FolderTransaction> transaction;
    try {
        transaction.emplace(untinDir);
    } catch (const FolderWriteError& failure) {
        result.failure =
            std::string(settleFailed(untinDir, failure).what()) + " 何も入れ替えていません。";
        return result;
    }
    std::map<std::string, std::string> old;
    try {
        old = readPresent(untinDir, checkedFiles());
    } catch (const DataFileError& failure) {
        result.failure =
            std::string("今の表を控えられません: ") + failure.what() + " 何も入れ替えていません。";
        return result;
    }
    std::vector<std::string> changed;
    std::vector<FileReplacement> changes;
    for (const std::string& name : officeFiles()) {
        const auto before = old.find(name);
        if (before == old.end() || before->second != incoming.at(name)) {
            changed.push_back(name);
            changes.push_back({name, incoming.at(name)});
        }
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

    try {
        transaction->commit(changes);
    } catch (const FolderWriteError& failure) {
        result.failure = "「" + failure.fileName() + "」を入れ替えられません：" + failure.reason() +
                         "（フォルダ" + bracketedPath(untinDir) + "）。";
        switch (failure.outcome()) {
            case SetOutcome::Old:
                result.failure += "どの表も前のままです。";
                fs::remove_all(result.kept, ec);
                result.kept.clear();
                break;
            case SetOutcome::New:
                result.failure +=
                    "新しい表はすべて入りましたが、ディスクに書き込まれたか確かめられません。"
                    "前の表は" +
                    bracketedPath(result.kept) + "にあります。";
                break;
            case SetOutcome::LeftToRecovery:
                result.failure +=
                    "次にフォルダを開くとき、表はすべて前のものにそろえられます。前の表は" +
                    bracketedPath(result.kept) + "にもあります。";
                break;
        }
        return result;
    }
    result.replaced = changed;
    return result;
}

}  // namespace kippurun
