// qorin_pictures OUTDIR: draws every bitmap file the programs load, in English (OUTDIR/en/<program>)
// and Russian (OUTDIR/ru/<program>), and the program icons (OUTDIR/icons). The same build
// always writes the same bytes.
#include "draw.h"

#include <cstdio>
#include <filesystem>
#include <span>
#include <system_error>
#include <utility>

namespace {

struct Program {
    const char* name;
    std::span<const pictures::Picture> (*pictures)();
};

constexpr Program kPrograms[] = {
#define QORIN_PROGRAM(name) {#name, pictures::name##Pictures},
#include "programs.inc"
#undef QORIN_PROGRAM
};

bool MakeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) std::fprintf(stderr, "qorin_pictures: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
    return !error;
}

bool Written(bool ok, const std::filesystem::path& file) {
    if (!ok) std::fprintf(stderr, "qorin_pictures: cannot write %s\n", file.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qorin_pictures OUTDIR\n");
        return 1;
    }
    const std::filesystem::path out = argv[1];
    const struct {
        const char* folder;
        pictures::Lang lang;
    } languages[] = {{"en", pictures::Lang::En}, {"ru", pictures::Lang::Ru}};

    for (const auto& language : languages) {
        for (const Program& program : kPrograms) {
            const std::filesystem::path folder = out / language.folder / program.name;
            if (!MakeFolder(folder)) return 1;
            for (const pictures::Picture& picture : program.pictures()) {
                pictures::Canvas canvas(picture.width, picture.height, picture.background);
                picture.draw(canvas, language.lang);
                const std::filesystem::path file = folder / picture.file;
                if (!Written(canvas.Save(file.string()), file)) return 1;
            }
        }
    }
    const std::filesystem::path icons = out / "icons";
    if (!MakeFolder(icons)) return 1;
    for (const auto& [name, small] : {std::pair{"qorin.ico", false}, std::pair{"qorin-small.ico", true}}) {
        if (!Written(pictures::WriteIcon((icons / name).string(), small), icons / name)) return 1;
    }
    return 0;
}
