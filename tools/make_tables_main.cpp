// kippurun_make_tables FOLDER: writes the sample files of the Untin
// folder into FOLDER. Run into Untin/ of the source tree after changing the
// kilometre posts or the sample tariff, and commit the files with the change.
#include <exception>
#include <iostream>

#include "data/table_files.h"
#include "tools/sample_tables.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "使い方: kippurun_make_tables 出力フォルダ\n"
                     "  見本の運賃表 "
                  << kippurun::TableFiles.size()
                  << " ファイルを出力フォルダに書きます (既存のファイルは上書き)。\n";
        return 2;
    }
    try {
        kippurun::tools::writeSampleTables(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "kippurun_make_tables: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
