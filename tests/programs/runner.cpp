// The test side of the headless runner: writes the script, starts the binary in its picture
// folder with the runner's environment, waits with a time limit, and loads the PNG frames.
#include "runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#include <stb_image.h>
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace fs = std::filesystem;

static Frame LoadImageFile(const std::string& path)
{
    Frame frame;
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load(path.c_str(), &w, &h, &n, 3);
    if (!data)
        return frame;
    frame.width = w;
    frame.height = h;
    frame.pixels.resize(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < frame.pixels.size(); ++i)
        frame.pixels[i] = (data[3 * i] << 16) | (data[3 * i + 1] << 8) | data[3 * i + 2];
    stbi_image_free(data);
    return frame;
}

const Frame& RunResult::Shot(int n) const
{
    static const Frame none;
    auto it = shots.find(n);
    return it == shots.end() ? none : it->second;
}

static std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

RunResult RunProgram(const std::string& program, const std::string& script, const RunOptions& options)
{
    RunResult result;
    char pattern[] = "/tmp/qorin-test-XXXXXX";
    const fs::path dir = mkdtemp(pattern);
    const fs::path scriptPath = dir / "input.script";
    std::ofstream(scriptPath) << script;

    std::string shots;
    for (int n : options.shots)
        shots += (shots.empty() ? "" : ",") + std::to_string(n);

    const std::string pictures = !options.pictureDir.empty()
                                     ? options.pictureDir
                                     : std::string(QORIN_PICTURES_DIR) + "/" + options.lang + "/" + program;
    const std::string binary = std::string(QORIN_BIN_DIR) + "/" + program;
    pid_t pid = fork();
    if (pid == 0) {
        int out = open((dir / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open((dir / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        if (chdir(pictures.c_str()) != 0)
            _exit(126);
        setenv("QORIN_VIDEO", "headless", 1);
        setenv("QORIN_SIZE", options.size.c_str(), 1);
        setenv("QORIN_SCRIPT", scriptPath.c_str(), 1);
        setenv("QORIN_FRAMES", std::to_string(options.frames).c_str(), 1);
        setenv("QORIN_SHOT", shots.c_str(), 1);
        setenv("QORIN_OUT", dir.c_str(), 1);
        for (auto& [k, v] : options.env)
            setenv(k.c_str(), v.c_str(), 1);
        execl(binary.c_str(), binary.c_str(), (char*)nullptr);
        _exit(127);
    }

    // A run that does not end by itself is a hang: it fails the test instead of stalling it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(options.timeLimitSeconds);
    int status = 0;
    while (true) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            result.finished = true;
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = ReadFile(dir / "stdout");
    result.err = ReadFile(dir / "stderr");

    std::istringstream lines(result.out);
    std::string line, last;
    while (std::getline(lines, line)) {
        int frame = 0, objects = 0;
        long rss = 0;
        if (std::sscanf(line.c_str(), "frame=%d objects=%d rss_kb=%ld", &frame, &objects, &rss) == 3)
            result.reports[frame] = {objects, rss};
        if (!line.empty())
            last = line;
    }
    std::sscanf(last.c_str(), "frames=%d exit=%d objects=%d", &result.frames, &result.exitCode, &result.objects);

    for (auto& entry : fs::directory_iterator(dir)) {
        int n = 0;
        if (std::sscanf(entry.path().filename().c_str(), "frame-%d.png", &n) == 1)
            result.shots[n] = LoadImageFile(entry.path());
    }
    fs::remove_all(dir);
    return result;
}

Frame LoadPicture(const std::string& program, const std::string& file, const std::string& lang)
{
    return LoadImageFile(std::string(QORIN_PICTURES_DIR) + "/" + lang + "/" + program + "/" + file);
}

bool AreaEquals(const Frame& frame, int x, int y, const Frame& picture)
{
    if (picture.Empty() || x < 0 || y < 0 || x + picture.width > frame.width || y + picture.height > frame.height)
        return false;
    for (int j = 0; j < picture.height; ++j)
        for (int i = 0; i < picture.width; ++i)
            if (frame.At(x + i, y + j) != picture.At(i, j))
                return false;
    return true;
}

static void WritePngFile(const Frame& frame, const std::string& path)
{
    std::vector<unsigned char> rgb(frame.pixels.size() * 3);
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        rgb[3 * i] = frame.pixels[i] >> 16;
        rgb[3 * i + 1] = frame.pixels[i] >> 8;
        rgb[3 * i + 2] = frame.pixels[i];
    }
    stbi_write_png(path.c_str(), frame.width, frame.height, 3, rgb.data(), frame.width * 3);
}

::testing::AssertionResult ShowsPicture(const Frame& frame, int x, int y, const Frame& picture, const std::string& name)
{
    if (picture.Empty())
        return ::testing::AssertionFailure() << name << ": the picture did not load";
    if (x < 0 || y < 0 || x + picture.width > frame.width || y + picture.height > frame.height)
        return ::testing::AssertionFailure() << name << ": the picture's area lies outside the frame";
    Frame diff = frame;
    int bad = 0, firstX = -1, firstY = -1;
    for (auto& p : diff.pixels)
        p = (p >> 2) & 0x3F3F3F;
    for (int j = 0; j < picture.height; ++j)
        for (int i = 0; i < picture.width; ++i)
            if (frame.At(x + i, y + j) != picture.At(i, j)) {
                if (bad++ == 0)
                    firstX = x + i, firstY = y + j;
                diff.pixels[static_cast<size_t>(y + j) * diff.width + x + i] = 0xFF0000;
            }
    if (bad == 0)
        return ::testing::AssertionSuccess();
    const char* tmp = std::getenv("TMPDIR");
    const fs::path dir = fs::path(tmp ? tmp : "/tmp") / "qorin-test-failures";
    fs::create_directories(dir);
    WritePngFile(frame, (dir / (name + "-actual.png")).string());
    WritePngFile(diff, (dir / (name + "-diff.png")).string());
    return ::testing::AssertionFailure()
           << name << ": " << bad << " pixels differ from the picture at (" << x << ", " << y << "); first at (" << firstX
           << ", " << firstY << "): " << Hex(frame.At(firstX, firstY)) << " instead of "
           << Hex(picture.At(firstX - x, firstY - y)) << "; frame and diff written to " << dir.string();
}

std::string Hex(uint32_t pixel)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", pixel);
    return text;
}
