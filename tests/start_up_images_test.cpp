// The scene's start-up finds its images wherever the host's search finds them, passes over a file
// it cannot use to the next folder, and makes no texture when no folder holds a usable one.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "gl_harness.h"
#include "host/host_state.h"
#include "particles/particle_system.h"
#include "program/data_files.h"
#include "scene/scene_state.h"
#include "scene/textures.h"
#include "text/text_overlay.h"

namespace {
namespace fs = std::filesystem;

// Runs InitResources with `folders` searched after an empty working directory, or one that holds
// only a font.bmp of `badFont` bytes; returns stderr.
std::string StartInEmptyFolder(const std::vector<std::string>& folders,
                               const std::string& badFont = "") {
    const fs::path home = fs::current_path(),
                   empty = ::testing::TempDir() + "wispra-empty-" + std::to_string(getpid());
    fs::create_directories(empty);
    if (!badFont.empty()) std::ofstream(empty / "font.bmp") << badFont;
    const std::vector<std::string> saved = dataFolders;
    dataFolders = folders;
    fs::current_path(empty);
    ::testing::internal::CaptureStderr();
    InitResources();
    const std::string said = ::testing::internal::GetCapturedStderr();
    fs::current_path(home);
    dataFolders = saved;
    fs::remove_all(empty);
    return said;
}
}  // namespace

TEST(StartUpImages, FoundInAnotherFolderWithoutAWord) {
    ResetProgramState();
    const std::string said = StartInEmptyFolder({"", fs::current_path().string()});
    EXPECT_EQ(said, "");
    EXPECT_EQ(textureCount, 2);
    EXPECT_NE(textureIds[0], 0u);
    EXPECT_NE(textureIds[1], 0u);
    EXPECT_EQ(textOverlay.fontTexture, textureIds[0]);
    EXPECT_EQ(particleSystem.spriteTexture, textureIds[1]);
}

TEST(StartUpImages, NamedOnceEachAndNotLoadedWhenNoFolderHoldsThem) {
    ResetProgramState();
    const std::string nowhere = ::testing::TempDir() + "wispra-nowhere-" + std::to_string(getpid());
    GLuint before = 0, after = 0;
    glGenTextures(1, &before);
    const std::string said = StartInEmptyFolder({nowhere});
    glGenTextures(1, &after);
    EXPECT_EQ(after, before + 1) << "a texture was made for a file that was not found";
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    for (const char* name : {"font.bmp not found", "smoke128.bmp not found"})
        EXPECT_NE(said.find(name), std::string::npos) << said;
    EXPECT_NE(said.find(nowhere), std::string::npos) << said;
    EXPECT_EQ(textureCount, 2);
    EXPECT_EQ(textureIds[0], 0u);
    EXPECT_EQ(textureIds[1], 0u);
    glDeleteTextures(1, &before);
    glDeleteTextures(1, &after);
}

TEST(StartUpImages, ABadFileInTheWorkingDirectoryGivesWayToTheInstalledOne) {
    ResetProgramState();
    // The build folder, where the good images lie, stands for the installed data folder.
    const std::string said =
        StartInEmptyFolder({fs::current_path().string()}, std::string(200, 'x'));
    EXPECT_EQ(said, "wispra: font.bmp: not a bitmap file (no BM signature)\n");
    EXPECT_EQ(textureCount, 2);
    EXPECT_NE(textureIds[0], 0u) << "the good font.bmp was not loaded";
    EXPECT_EQ(textOverlay.fontTexture, textureIds[0]);
    EXPECT_NE(textureIds[1], 0u);
}
