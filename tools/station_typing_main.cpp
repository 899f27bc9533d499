// How many characters a clerk types to find each station by its reading in
// a list of the whole catalogue (Enter then takes the first station found),
// in rōmaji and in kana, and the share found within four.
//   kippurun_station_typing [--all]   (--all: one line per station)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "data/station_catalogue.h"
#include "data/station_search.h"

int main(int argc, char** argv) {
    using namespace kippurun;
    const bool all = argc > 1 && std::strcmp(argv[1], "--all") == 0;
    const std::vector<std::string> names(stationNames().begin(), stationNames().end());
    int romaji = 0, kana = 0, either = 0;
    auto quick = [](int n) { return n > 0 && n <= 4; };
    for (int station = 0; station < StationCount; ++station) {
        const int letters = charactersToReach(names, station, Typing::Romaji);
        const int kanaChars = charactersToReach(names, station, Typing::Kana);
        romaji += quick(letters);
        kana += quick(kanaChars);
        either += quick(letters) || quick(kanaChars);
        if (all || !quick(letters))
            std::printf("%3d %s: ローマ字 %d 文字、かな %d 文字\n", station,
                        names[static_cast<std::size_t>(station)].c_str(), letters, kanaChars);
    }
    auto share = [](const char* what, int n) {
        std::printf("%s 4 文字以内 + Enter: %d / %d 駅 (%.1f %%)\n", what, n, StationCount,
                    100.0 * n / StationCount);
    };
    share("ローマ字で", romaji);
    share("かなで", kana);
    share("ローマ字かかなで", either);
    std::printf("駅番号で 3 文字以内 + Enter: %d / %d 駅 (100.0 %%)\n", StationCount, StationCount);
    return 0;
}
