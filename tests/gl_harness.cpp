// The GL test program's window and the helpers of gl_harness.h.
#include "gl_harness.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "host/app.h"
#include "host/clock.h"
#include "host/glut/display_mode.h"
#include "host/glut/glut_host.h"
#include "host/host.h"
#include "host/host_state.h"
#include "host/window_system.h"
#include "motion/motion_state.h"
#include "scene/scene_state.h"

namespace {
constexpr int kPumpRounds = 200;

// Frames are driven by the tests themselves, never by GLUT's redisplay.
void NoDisplay() {}

// The GL state that holds between the scene's passes (scene/gl_defaults.h), as queried right after
// a scene starts. Every test that started the scene must end with the same state, so a pass that
// forgets to switch something off again fails the test that drew it.
struct NamedState {
    const char* name;
    GLint value;
};
std::vector<NamedState> QuerySceneGlState() {
    std::vector<NamedState> state;
    for (const auto& [name, cap] : {std::pair{"GL_BLEND", GL_BLEND},
                                    {"GL_ALPHA_TEST", GL_ALPHA_TEST},
                                    {"GL_LIGHTING", GL_LIGHTING},
                                    {"GL_LIGHT0", GL_LIGHT0},
                                    {"GL_DEPTH_TEST", GL_DEPTH_TEST},
                                    {"GL_TEXTURE_2D", GL_TEXTURE_2D},
                                    {"GL_COLOR_MATERIAL", GL_COLOR_MATERIAL},
                                    {"GL_DITHER", GL_DITHER},
                                    {"GL_SCISSOR_TEST", GL_SCISSOR_TEST},
                                    {"GL_CULL_FACE", GL_CULL_FACE}}) {
        state.push_back({name, glIsEnabled(static_cast<GLenum>(cap))});
    }
    for (const auto& [name, query] : {std::pair{"GL_BLEND_SRC", GL_BLEND_SRC},
                                      {"GL_BLEND_DST", GL_BLEND_DST},
                                      {"GL_DEPTH_WRITEMASK", GL_DEPTH_WRITEMASK},
                                      {"GL_SHADE_MODEL", GL_SHADE_MODEL},
                                      {"GL_COLOR_MATERIAL_FACE", GL_COLOR_MATERIAL_FACE},
                                      {"GL_COLOR_MATERIAL_PARAMETER", GL_COLOR_MATERIAL_PARAMETER},
                                      {"GL_LIGHT_MODEL_LOCAL_VIEWER", GL_LIGHT_MODEL_LOCAL_VIEWER},
                                      {"GL_MATRIX_MODE", GL_MATRIX_MODE},
                                      {"GL_MODELVIEW_STACK_DEPTH", GL_MODELVIEW_STACK_DEPTH},
                                      {"GL_PROJECTION_STACK_DEPTH", GL_PROJECTION_STACK_DEPTH},
                                      {"GL_ATTRIB_STACK_DEPTH", GL_ATTRIB_STACK_DEPTH}}) {
        GLint value = 0;
        glGetIntegerv(static_cast<GLenum>(query), &value);
        state.push_back({name, value});
    }
    GLint value = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    state.push_back({"GL_TEXTURE_ENV_MODE", value});
    glGetMaterialiv(GL_FRONT, GL_SHININESS, &value);
    state.push_back({"GL_SHININESS", value});
    return state;
}

bool sceneStarted = false;              // StartScene ran since the last ResetProgramState
std::vector<NamedState> sceneDefaults;  // the state StartScene found

class SceneGlDefaultsCheck : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo&) override {
        if (!sceneStarted) return;
        const std::vector<NamedState> now = QuerySceneGlState();
        for (size_t i = 0; i < now.size(); ++i) {
            EXPECT_EQ(now[i].value, sceneDefaults[i].value)
                << now[i].name
                << " differs from the scene's default GL state at the end of the test";
        }
        sceneStarted = false;
    }
};
}  // namespace

void PumpEvents() {
    glutMainLoopEvent();
    glFinish();
    glutMainLoopEvent();
}

void ResizeWindow(int width, int height) {
    // A full-screen window keeps the screen's size until it has left full screen.
    if (glutGet(GLUT_FULL_SCREEN) && (width != kStartWindowWidth || height != kStartWindowHeight)) {
        glutLeaveFullScreen();
        for (int i = 0; i < kPumpRounds && glutGet(GLUT_FULL_SCREEN); ++i) PumpEvents();
    }
    glutReshapeWindow(width, height);
    for (int i = 0; i < kPumpRounds; ++i) {
        PumpEvents();
        if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) break;
    }
    // GLUT may settle on the size without reporting a reshape; the host must agree with it.
    Reshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
}

void ResetProgramState() {
    Shutdown();
    if (cigaretteList != -1) glDeleteLists(static_cast<GLuint>(cigaretteList), 1);
    sceneStarted = false;
    ResetHostState();
    windowSystem = &kGlutWindowSystem;  // the test window is GLUT's
    ResetMotionState();
    ResetSceneState();
    const WindowSize window = CurrentWindowSize();
    Reshape(window.width, window.height);  // the real window's size
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
}

void StartScene() {
    ResetProgramState();
    Init();
    // The test screen is the window's size, so going full screen keeps 640 x 480.
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
    sceneDefaults = QuerySceneGlState();
    sceneStarted = true;
}

void ExpectSceneDefaults() {
    const SceneSettings& s = settings;
    EXPECT_EQ(std::vector<int>({s.Fov, s.Letterbox, s.Tesselation, s.UniverseOn, s.Blanking,
                                s.SpotLightsOn, s.TexturesOn, s.PolyMode, s.SmokeOption,
                                s.FpsClockOn, PauseMotion}),
              std::vector<int>({100, 0, 20, 1, 1, 1, 1, 0, 2, 0, 0}));
    EXPECT_EQ(std::vector<float>({s.RotateSpeed, s.MovementSpeed, s.CameraZ, s.ObjectSize,
                                  s.MainSpeed, s.ArrowY, s.LightRotateSpeed, Brightness}),
              std::vector<float>({1, 1, -0.3f, 1, 1, 1, 1, 1}));
}

void RunFrameAt(uint64_t ms) {
    SetUptimeMs(ms);
    Frame();
    // As the program's buffer swap does: without it the software renderer queues every frame's
    // work, and a long run of frames grows by megabytes a frame.
    glFinish();
}

void RunFramesAtRate(uint32_t fromMs, uint32_t toMs, int fps) {
    const uint64_t rate = static_cast<uint64_t>(fps);
    for (uint64_t n = fromMs * rate / 1000 + 1;; ++n) {
        const uint64_t ms = n * 1000 / rate;
        if (ms > toMs) break;
        if (ms <= fromMs) continue;
        RunFrameAt(static_cast<uint32_t>(ms));
    }
}

void RunFramesUnseen(uint32_t fromMs, uint32_t toMs, int fps) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    RunFramesAtRate(fromMs, toMs, fps);
    glDisable(GL_SCISSOR_TEST);
}

Picture ReadPicture() {
    Picture picture;
    const WindowSize window = CurrentWindowSize();
    picture.width = window.width;
    picture.height = window.height;
    picture.rgb.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) *
                       3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE, picture.rgb.data());
    return picture;
}

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackPrimitive> primitives;
    constexpr int kVertexFloats = 11;
    auto readVertex = [&](GLint at) {
        const GLfloat* f = &buffer[static_cast<size_t>(at)];
        return FeedbackVertex{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]};
    };
    for (GLint i = 0; i < used;) {
        const GLenum token = static_cast<GLenum>(buffer[static_cast<size_t>(i++)]);
        int count = 0;
        if (token == GL_POLYGON_TOKEN) {
            count = static_cast<int>(buffer[static_cast<size_t>(i++)]);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            count = 2;
        } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN ||
                   token == GL_DRAW_PIXEL_TOKEN || token == GL_COPY_PIXEL_TOKEN) {
            count = 1;
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            ++i;
            continue;
        } else {
            ADD_FAILURE() << "unknown feedback token " << token;
            break;
        }
        FeedbackPrimitive primitive{token, {}};
        for (int v = 0; v < count; ++v, i += kVertexFloats)
            primitive.vertices.push_back(readVertex(i));
        primitives.push_back(primitive);
    }
    return primitives;
}

bool WritePng(const std::string& path, const Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    // GL's rows run bottom-up; a PNG's top-down.
    for (int y = picture.height - 1; y >= 0; --y) {
        png_write_row(png, const_cast<png_bytep>(picture.At(0, y)));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool ReadPng(const std::string& path, Picture& picture) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_palette_to_rgb(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    picture.width = static_cast<int>(png_get_image_width(png, info));
    picture.height = static_cast<int>(png_get_image_height(png, info));
    picture.rgb.assign(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3,
                       0);
    for (int y = picture.height - 1; y >= 0; --y) {
        png_read_row(png, picture.At(0, y), nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return true;
}

std::string TestOutputDir() {
    const std::string dir = "test-output";
    mkdir(dir.c_str(), 0755);
    return dir;
}

namespace {
// Per pixel: black where it matches within tolerance, else the largest channel difference
// stretched to be visible. Returns the number of pixels beyond the tolerance.
int MarkDifferences(const Picture& actual, const Picture& expected, int tolerance, Picture& diff) {
    constexpr int kStretch = 16;
    diff = actual;
    int differing = 0;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            int worst = 0;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(actual.At(x, y)[c] - expected.At(x, y)[c]));
            if (worst > tolerance) ++differing;
            const unsigned char shown = static_cast<unsigned char>(std::min(255, worst * kStretch));
            for (int c = 0; c < 3; ++c) diff.At(x, y)[c] = worst > tolerance ? shown : 0;
        }
    }
    return differing;
}
}  // namespace

ReferenceResult CompareWithReference(const std::string& name, const Picture& actual, int tolerance,
                                     double maxShare) {
    const std::string reference = std::string(WISPRA_REFERENCE_DIR) + "/" + name + ".png";
    const std::string actualPath = TestOutputDir() + "/" + name + ".actual.png";
    ReferenceResult result;
    if (std::getenv("WISPRA_UPDATE_REFERENCE") != nullptr) {
        result.rewritten = result.matches = WritePng(reference, actual);
        result.message =
            (result.matches ? "reference picture rewritten: " : "cannot write ") + reference;
        return result;
    }
    Picture expected;
    if (!ReadPng(reference, expected)) {
        WritePng(actualPath, actual);
        result.message = "no reference picture at " + reference + "; this run's picture is " +
                         actualPath + " (WISPRA_UPDATE_REFERENCE=1 writes it as the reference)";
        return result;
    }
    if (actual.width != expected.width || actual.height != expected.height) {
        WritePng(actualPath, actual);
        result.message = "the picture is " + std::to_string(actual.width) + " x " +
                         std::to_string(actual.height) + ", the reference " + reference + " " +
                         std::to_string(expected.width) + " x " + std::to_string(expected.height);
        return result;
    }
    Picture diff;
    const int differing = MarkDifferences(actual, expected, tolerance, diff);
    result.matches = differing <= maxShare * actual.width * actual.height;
    if (!result.matches) {
        const std::string diffPath = TestOutputDir() + "/" + name + ".diff.png";
        WritePng(actualPath, actual);
        WritePng(diffPath, diff);
        result.message = std::to_string(differing) + " pixels differ by more than " +
                         std::to_string(tolerance) + "/255 from the reference " + reference +
                         "; actual: " + actualPath + ", differences: " + diffPath;
    }
    return result;
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Death tests re-run this program for the one test, with a window of its own.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Listing the cases (as ctest's discovery does) needs no window and so no display.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    glutInit(&argc, argv);
    glutInitDisplayMode(kDisplayMode);
    glutInitWindowSize(kStartWindowWidth, kStartWindowHeight);
    glutCreateWindow("Vell");
    glutReshapeFunc(Reshape);
    glutDisplayFunc(NoDisplay);
    windowSystem = &kGlutWindowSystem;
    ResizeWindow(kStartWindowWidth, kStartWindowHeight);
    testing::UnitTest::GetInstance()->listeners().Append(new SceneGlDefaultsCheck);
    return RUN_ALL_TESTS();
}
