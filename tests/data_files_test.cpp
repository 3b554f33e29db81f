// Where the images are looked for, on a real temporary folder layout: the working directory, the
// program's folder, the installed data folder beside it, the configured data folder; a file that
// is there but unusable passed over with its one warning line; and the last line when no folder
// holds a usable file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/host_state.h"
#include "program/data_files.h"

namespace {
namespace fs = std::filesystem;

// A scratch tree: work/ is made the working directory while the fixture lives.
class DataFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The process id in the name: ctest runs test cases side by side.
        root = fs::path(::testing::TempDir()) / ("wispra-data-files-" + std::to_string(getpid()));
        fs::remove_all(root);
        for (const char* sub : {"work", "prefix/bin", "prefix/share/wispra", "configured"})
            fs::create_directories(root / sub);
        home = fs::current_path();
        fs::current_path(root / "work");
        savedFolders = dataFolders;
    }
    void TearDown() override {
        dataFolders = savedFolders;
        fs::current_path(home);
        fs::remove_all(root);
    }
    // The checker below takes a file holding "bad" as unusable, any other file as usable.
    void Put(const fs::path& folder, const char* name, const char* content = "x") {
        std::ofstream(folder / name) << content;
    }
    std::string Dir(const char* sub) const { return (root / sub).string(); }

    fs::path root, home;
    std::vector<std::string> savedFolders;
};

DataFileCheck Check(const std::string& path) {
    DataFileCheck found;
    if (!fs::is_regular_file(path)) return found;
    std::string content;
    std::ifstream(path) >> content;
    found.state = content == "bad" ? DataFileState::kUnusable : DataFileState::kUsable;
    if (content == "bad") found.reason = "bad content";
    return found;
}
}  // namespace

TEST_F(DataFilesTest, EachPlaceIsTriedInTurnAndTheFirstThatHoldsTheFileWins) {
    const std::vector<std::string> folders = {Dir("prefix/bin"), Dir("prefix/share/wispra"),
                                              Dir("configured")};
    const std::string work = Dir("work");
    for (const char* where : {"work", "prefix/bin", "prefix/share/wispra", "configured"})
        Put(root / where, "font.bmp");
    // Taking the file away from each place in turn uncovers the next one.
    const std::vector<std::string> expected = {"font.bmp", Dir("prefix/bin") + "/font.bmp",
                                               Dir("prefix/share/wispra") + "/font.bmp",
                                               Dir("configured") + "/font.bmp", ""};
    const char* order[] = {"work", "prefix/bin", "prefix/share/wispra", "configured"};
    for (size_t step = 0; step < expected.size(); ++step) {
        const DataFileLookup found = LookUpDataFile("font.bmp", work, folders, Check);
        EXPECT_EQ(found.path, expected[step]) << step;
        EXPECT_EQ(found.tried.size(), std::min<size_t>(step + 1, 4)) << step;
        if (step < 4) fs::remove(root / order[step] / "font.bmp");
    }
    const DataFileLookup none = LookUpDataFile("font.bmp", work, folders, Check);
    EXPECT_EQ(none.tried, std::vector<std::string>({work, folders[0], folders[1], folders[2]}));
}

TEST_F(DataFilesTest, EmptyAndRepeatedFoldersAreNotTriedTwice) {
    const std::string work = Dir("work");
    const DataFileLookup found = LookUpDataFile(
        "smoke128.bmp", work, {work, "", Dir("configured"), Dir("configured")}, Check);
    EXPECT_EQ(found.path, "");
    EXPECT_EQ(found.tried, std::vector<std::string>({work, Dir("configured")}));
}

TEST_F(DataFilesTest, TheInstalledFoldersFollowTheProgramAndThenTheConfiguredPrefix) {
    EXPECT_EQ(InstalledDataFolders(""), std::vector<std::string>({WISPRA_DATA_DIR}));
    const std::vector<std::string> folders = InstalledDataFolders("/opt/wispra/bin/");
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0], "/opt/wispra/bin");
    EXPECT_EQ(folders[1].find("/.."), std::string::npos) << folders[1];
    EXPECT_EQ(folders[2], WISPRA_DATA_DIR);
    // This test program is a real executable: its folder is where it lies.
    EXPECT_TRUE(fs::is_regular_file(ExecutableFolder() + "/unit_tests")) << ExecutableFolder();
}

TEST_F(DataFilesTest, OnlyAFileThatNoFolderHoldsIsReportedInOneLine) {
    dataFolders = {Dir("prefix/bin"), Dir("prefix/share/wispra"), Dir("configured")};
    Put(root / "prefix/share/wispra", "smoke128.bmp");
    std::string path = "unchanged";
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(LocateDataFile("smoke128.bmp", Check, path));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(path, Dir("prefix/share/wispra") + "/smoke128.bmp");

    path = "unchanged";
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(LocateDataFile("font.bmp", Check, path));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "wispra: font.bmp not found; looked in " + Dir("work") + ", " + Dir("prefix/bin") +
                  ", " + Dir("prefix/share/wispra") + " and " + Dir("configured") + "\n");
    EXPECT_EQ(path, "unchanged");
}

TEST_F(DataFilesTest, AnUnusableFileIsNamedOnceAndTheSearchGoesOnToTheNextFolder) {
    dataFolders = {Dir("prefix/bin"), Dir("prefix/share/wispra"), Dir("configured")};
    Put(root / "work", "font.bmp", "bad");
    Put(root / "prefix/share/wispra", "font.bmp", "bad");
    Put(root / "configured", "font.bmp");
    std::string path;
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(LocateDataFile("font.bmp", Check, path));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "wispra: font.bmp: bad content\nwispra: " + Dir("prefix/share/wispra") +
                  "/font.bmp: bad content\n");
    EXPECT_EQ(path, Dir("configured") + "/font.bmp");

    // With every copy unusable the last line says so, after one line for each copy.
    Put(root / "configured", "font.bmp", "bad");
    path = "unchanged";
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(LocateDataFile("font.bmp", Check, path));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 4) << said;
    EXPECT_NE(said.find("\nwispra: no usable font.bmp; looked in " + Dir("work") + ", "),
              std::string::npos)
        << said;
    EXPECT_EQ(path, "unchanged");
}
