// The committed Untin/ must be exactly what the generator writes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/table_files.h"
#include "tools/sample_tables.h"

namespace kippurun::tools {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    EXPECT_TRUE(in) << p;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int run(const std::string& arguments) {
    const std::string command =
        std::string("'") + KIPPURUN_MAKE_TABLES + "' " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class GeneratedFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("kippurun_tables_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(GeneratedFiles, UntinIsWhatTheGeneratorWrites) {
    const fs::path out = dir_ / "Untin";
    ASSERT_EQ(run("'" + out.string() + "'"), 0);
    const fs::path committed = fs::path(KIPPURUN_SOURCE_DIR) / "Untin";
    std::size_t files = 0;
    for (const SampleTable& t : makeSampleTables()) {
        ++files;
        const std::string written = readAll(out / t.fileName);
        EXPECT_EQ(written, fileBytes(t)) << t.fileName;
        EXPECT_TRUE(written == readAll(committed / t.fileName))
            << "Untin/" << t.fileName << " differs from the generator's output; run "
            << "kippurun_make_tables on Untin/ and commit the files";
    }
    EXPECT_EQ(files, TableFiles.size());
    std::size_t generated = 0;
    for (const auto& entry : fs::directory_iterator(out)) generated += entry.is_regular_file();
    EXPECT_EQ(generated, TableFiles.size());
}

TEST_F(GeneratedFiles, UsageAndUnwritableFolderFail) {
    EXPECT_EQ(run(""), 2);
    fs::create_directories(dir_);
    const fs::path file = dir_ / "plain_file";
    std::ofstream(file) << "x";
    EXPECT_EQ(run("'" + (file / "Untin").string() + "'"), 1);
}

}  // namespace
}  // namespace kippurun::tools
