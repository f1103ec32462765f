// The program at the moment it rewrites one of its own files, over and over: the same writers
// the windows call, so a test can kill it at any point of a rewrite and look at what is left.
//
//   file_rewriter KIND FOLDER SHIPPED [COUNT]
//
// KIND names the file: "ini" (the settings file), "patterns" (the pattern strip), a preset or
// library file name ("PixoralQB.txt", ...), "picture.bmp" / ".jpg" / ".gif" / ".png" (a saved
// image) or "seed" (every shipped file copied into a fresh folder). Odd rewrites write one
// content, even ones another, COUNT times or until killed; "writing" on standard output says
// the first rewrite is about to start.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <functional>
#include <map>

#include "canvas/Bitmap.h"
#include "files/ImageFile.h"
#include "generators/Fractals.h"
#include "generators/QBPresets.h"
#include "generators/Surf3D.h"
#include "generators/UserFilters.h"
#include "script/ScriptLibrary.h"
#include "ui/PresetFile.h"
#include "workspace/PatternLibrary.h"
#include "workspace/ProgramFolder.h"
#include "workspace/WindowSettings.h"

using namespace pixoral;
using namespace pixoral::generators;
using namespace pixoral::script;

namespace {

using Rewrite = std::function<bool(bool second)>;

// Pictures large enough that a rewrite takes a while, different in every row.
Bitmap picture(int seed) {
    Bitmap b(700, 500);
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) b.setPixel(x, y, rgb((x * seed) & 255, (y + seed) & 255, (x ^ y) & 255));
    return b;
}

Rewrite presetRewrite(const QString& path, PresetFile::Kind kind) {
    auto file = std::make_shared<PresetFile>(path, kind);
    file->load();
    return [file](bool second) {
        const PresetFile::Edit e = second ? file->remove(file->find(QStringLiteral("Kill test")))
                                          : file->add(QStringLiteral("Kill test"), QStringLiteral("1~~2~~3"));
        if (!e.writeError.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(e.writeError));
        return e.changed() && e.writeError.isEmpty();
    };
}

Rewrite rewriteFor(const QString& kind, const QString& folder, const QString& shipped) {
    if (kind == QLatin1String("ini")) {
        return [path = folder + QStringLiteral("pixoral.ini")](bool second) {
            const WindowSettings s = second ? WindowSettings{QStringLiteral("maximized"), 0, 0, 500, 400}
                                            : WindowSettings{QStringLiteral("normal"), 12, 34, 640, 480};
            return writeWindowSettings(path, s, nullptr);
        };
    }
    if (kind == QLatin1String("patterns")) {
        auto strips = std::make_shared<std::pair<Bitmap, Bitmap>>(emptyPatternStrip(), emptyPatternStrip());
        strips->second.fill(clNavy);
        return [path = folder + QStringLiteral("patterns.bmp"), strips](bool second) {
            return savePatternStrip(path, second ? strips->second : strips->first, false, nullptr);
        };
    }
    if (kind.startsWith(QLatin1String("picture."))) {
        auto pictures = std::make_shared<std::pair<Bitmap, Bitmap>>(picture(3), picture(7));
        return [path = folder + kind, pictures](bool second) {
            return saveImageFile(path, second ? pictures->second : pictures->first, {}, nullptr) == FileResult::Done;
        };
    }
    if (kind == QLatin1String("seed")) {
        return [folder, shipped](bool) {
            for (const QString& name : shippedDataFiles()) QFile::remove(folder + name);
            seedFolder(shipped, folder);
            return true;
        };
    }
    const std::map<QString, PresetFile::Kind> presets = {
        {kQBPresetsFileName, kQBPresetsKind},
        {kUserFiltersFileName, kUserFiltersKind},
        {QStringLiteral("GraphPresets.tip"), PresetFile::Kind{}},
        {kFractalPresetsFileName, kFractalPresetsKind},
        {kSurf3DPresetsFileName, kSurf3DPresetsKind},
        {kLibraryFileName, kLibraryKind},
    };
    if (const auto it = presets.find(kind); it != presets.end()) return presetRewrite(folder + kind, it->second);
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: file_rewriter KIND FOLDER SHIPPED [COUNT]\n");
        return 2;
    }
    const Rewrite rewrite = rewriteFor(args[1], args[2] + QLatin1Char('/'), args[3]);
    if (!rewrite) {
        std::fprintf(stderr, "file_rewriter: unknown kind %s\n", qPrintable(args[1]));
        return 2;
    }
    const long long count = args.size() > 4 ? args[4].toLongLong() : -1;
    std::puts("writing");
    std::fflush(stdout);
    for (long long i = 0; count < 0 || i < count; ++i)
        if (!rewrite(i % 2 == 1)) return 1;
    return 0;
}
