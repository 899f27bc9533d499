#include "app/program_options.h"

#include <charconv>
#include <string>
#include <system_error>

#include "data/table_files.h"

namespace kippurun {

namespace {

// The first year the calendar's holidays and the era names cover (Meiji 6,
// the first year of the solar calendar).
constexpr int kFirstYear = 1873;

std::optional<Date> parseIsoDate(const std::string& text) {
    // YYYY-MM-DD, a real calendar date, digits only (no sign).
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    int y = 0, m = 0, d = 0;
    auto num = [&](std::size_t from, std::size_t len, int& out) {
        const char* b = text.data() + from;
        auto [p, ec] = std::from_chars(b, b + len, out);
        return ec == std::errc() && p == b + len;
    };
    if (!num(0, 4, y) || !num(5, 2, m) || !num(8, 2, d)) return std::nullopt;
    Date date{std::chrono::year(y), std::chrono::month(static_cast<unsigned>(m)),
              std::chrono::day(static_cast<unsigned>(d))};
    if (!date.ok()) return std::nullopt;
    return date;
}

}  // namespace

std::string usageText() {
    const std::string files = std::to_string(TableFiles.size());
    const std::string squares = std::to_string(SquareTableCount);
    return "使い方: kippurun [--script FILE] [--today YYYY-MM-DD] [--untin DIR] [--counter DIR] "
           "[--quit-after-show] [--help] [--version]\n"
           "        kippurun --check [--untin DIR] [--counter DIR] [--strict]\n"
           "        kippurun --price-list [--untin DIR] [--counter DIR] [--today YYYY-MM-DD]\n"
           "        kippurun --diff OLD NEW\n"
           "        kippurun --install-tables NEW [--untin DIR]\n"
           "        kippurun --export-tables SHEETS [--untin DIR]\n"
           "        kippurun --import-tables SHEETS --into NEW [--untin DIR]\n"
           "  --script FILE       画面を開かずにスクリプトを実行する (FILE が - なら標準入力)\n"
           "  --today YYYY-MM-DD  本日の日付を固定する\n"
           "  --untin DIR         運賃表フォルダ (既定: プログラムの隣の Untin、\n"
           "                      なければ /var/lib/kippurun/Untin)\n"
           "  --counter DIR       窓口のフォルダ: Ekimei1.csv と Start.csv を読み、保存する\n"
           "                      (既定: プログラムの隣の counter、入れた表なら\n"
           "                      /var/lib/kippurun/counter、なければ運賃表フォルダ)\n"
           "  --quit-after-show   画面を表示したら終了する (起動時間の計測用)\n"
           "  --check             運賃表 " +
           files +
           " ファイルを点検し、見つかったことをすべて表示する\n"
           "  --strict            --check で警告もエラーとして数える\n"
           "  --price-list        全区間の運賃・料金の一覧を CSV で標準出力に書く\n"
           "  --diff OLD NEW      二つの運賃表フォルダで一覧の値が違う区間と欄を CSV で書く\n"
           "                      (終了状態 0 同じ、1 違う、2 フォルダを読めない)\n"
           "  --install-tables NEW 点検した運賃表 NEW の " +
           squares +
           " ファイルを DIR に入れる\n"
           "                      (前の表は DIR の隣の日付のフォルダに残る。同じ指定で戻せる)\n"
           "  --export-tables SHEETS 運賃表 " +
           squares +
           " ファイルを表計算用の CSV (1 行目 発駅、1 列目 "
           "着駅)\n"
           "                      として SHEETS (ないか空のフォルダ) に書き出す\n"
           "  --import-tables SHEETS --into NEW 表計算で保存した SHEETS の CSV を運賃表に戻して\n"
           "                      NEW (ないか空のフォルダ) に書き、点検する。ない表は DIR "
           "から写す\n"
           "                      (駅の並びが違う表、金額でない値があれば何も書かない)\n"
           "  --help              この説明を表示する\n"
           "  --version           版を表示する\n"
           "画面を開けないとき (DISPLAY がない、接続できない) は標準エラーに理由を書いて\n"
           "終了状態 1 で終わる。\n";
}

std::string versionText() { return std::string("kippurun ") + KIPPURUN_VERSION + "\n"; }

OptionsResult parseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    std::optional<std::filesystem::path> untin;
    std::optional<std::filesystem::path> counter;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--quit-after-show") {
            options.quitAfterShow = true;
        } else if (a == "--check") {
            options.check = true;
        } else if (a == "--strict") {
            options.strict = true;
        } else if (a == "--price-list") {
            options.priceList = true;
        } else if (a == "--diff") {
            if (i + 2 >= args.size())
                return {std::nullopt, "--diff には比べる二つのフォルダ (旧 新) が要ります"};
            options.diff.emplace(args[i + 1], args[i + 2]);
            i += 2;
        } else if (a == "--install-tables") {
            if (!value(v))
                return {std::nullopt, "--install-tables に新しい表のフォルダ名がありません"};
            options.installTables = std::filesystem::path(v);
        } else if (a == "--export-tables") {
            if (!value(v))
                return {std::nullopt, "--export-tables に書き出すフォルダ名がありません"};
            options.exportTables = std::filesystem::path(v);
        } else if (a == "--import-tables") {
            if (!value(v))
                return {std::nullopt, "--import-tables に読み込むフォルダ名がありません"};
            options.importTables = std::filesystem::path(v);
        } else if (a == "--into") {
            if (!value(v)) return {std::nullopt, "--into に新しい表のフォルダ名がありません"};
            options.into = std::filesystem::path(v);
        } else if (a == "--script") {
            if (!value(v)) return {std::nullopt, "--script にファイル名がありません"};
            options.script = v;
        } else if (a == "--today") {
            if (!value(v)) return {std::nullopt, "--today に日付がありません"};
            auto date = parseIsoDate(v);
            if (!date) return {std::nullopt, "--today の日付が正しくありません: " + v};
            if (date->year() < std::chrono::year(kFirstYear))
                return {std::nullopt,
                        "--today の年は " + std::to_string(kFirstYear) +
                            " 年以降にしてください（暦と元号がそれより前を扱いません）: " + v};
            options.today = date;
        } else if (a == "--untin") {
            if (!value(v)) return {std::nullopt, "--untin にフォルダ名がありません"};
            untin = std::filesystem::path(v);
        } else if (a == "--counter") {
            if (!value(v)) return {std::nullopt, "--counter にフォルダ名がありません"};
            counter = std::filesystem::path(v);
        } else {
            return {std::nullopt, "不明な引数です: " + a};
        }
    }
    const int commands = options.check + options.priceList + options.script.has_value() +
                         options.diff.has_value() + options.installTables.has_value() +
                         options.exportTables.has_value() + options.importTables.has_value();
    if (commands > 1) {
        return {std::nullopt,
                "--check、--price-list、--diff、--install-tables、--export-tables、"
                "--import-tables、--script は一度に一つしか指定できません"};
    }
    if (options.importTables.has_value() != options.into.has_value()) {
        return {std::nullopt, options.into ? "--into は --import-tables と一緒に指定します"
                                           : "--import-tables には --into NEW が要ります"};
    }
    if (options.diff && (untin || counter)) {
        return {std::nullopt,
                "--diff は比べる二つのフォルダを読みます。--untin と --counter は使いません"};
    }
    if (options.strict && !options.check) {
        return {std::nullopt, "--strict は --check と一緒に指定します"};
    }
    CounterFolders folders = chooseFolders(untin, counter, programFolder(), InstalledDataFolder);
    options.untinDir = std::move(folders.tables);
    options.counterDir = std::move(folders.counter);
    return {options, {}};
}

CounterFolders chooseFolders(const std::optional<std::filesystem::path>& untin,
                             const std::optional<std::filesystem::path>& counter,
                             const std::filesystem::path& besideProgram,
                             const std::filesystem::path& installed) {
    auto isFolder = [](const std::filesystem::path& dir) {
        std::error_code ec;
        return std::filesystem::is_directory(dir, ec);
    };
    // The counter folder that goes with tables found in `root`.
    auto withTables = [&](const std::filesystem::path& root) -> CounterFolders {
        std::filesystem::path tables = root / "Untin";
        if (counter) return {std::move(tables), *counter};
        if (isFolder(root / "counter")) return {std::move(tables), root / "counter"};
        return {std::move(tables)};
    };
    if (untin) return {*untin, counter ? *counter : *untin};
    if (isFolder(besideProgram / "Untin")) return withTables(besideProgram);
    if (isFolder(installed / "Untin")) return withTables(installed);
    return withTables(besideProgram);
}

std::filesystem::path programFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec);
    return exe.parent_path();
}

}  // namespace kippurun
