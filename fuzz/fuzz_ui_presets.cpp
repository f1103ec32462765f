// Feeds arbitrary bytes to the preset and library files: the first byte picks the file kind
// (Quick Background backdrops, user filters, graph presets, 3-D presets, fractal presets,
// the script library), the rest is the file. Each line goes through its window's parser and
// what that parser takes is written back and read again. The file itself must survive an
// edit: after adding an entry and removing it again, the file reads back as it first read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "generators/Fractals.h"
#include "generators/QBPresets.h"
#include "generators/QuickBackground.h"
#include "generators/QuickFilter.h"
#include "generators/QuickGraph.h"
#include "generators/Surf3D.h"
#include "generators/UserFilters.h"
#include "script/ScriptLibrary.h"

namespace {

using namespace pixoral;
using namespace pixoral::generators;

void backdrop(const QString& line) {
    QBSettings s;
    if (applyPresetLine(line, s) != PresetApply::Applied) return;
    (void)renderBackground(s, 5, 3);
    QBSettings again;
    if (applyPresetLine(formatPresetLine(QStringLiteral("n"), s), again) != PresetApply::Applied || !(again == s))
        std::abort();
}

void userFilter(const QString& line) {
    MatrixTexts texts = matrixTexts(UserMatrix{});
    if (!readUserFilterValues(line, texts)) return;
    MatrixTexts again = matrixTexts(UserMatrix{});
    if (!readUserFilterValues(QStringLiteral("n=") + formatUserFilterValues(texts), again)) std::abort();
    QFSettings s;
    if (!parseUserMatrix(texts, s.matrix)) return;
    s.filter = {kUserMatrixFilter, kUserMatrixFilter, kUserMatrixFilter};
    s.bit24 = true;
    Bitmap work(4, 5, PixelFormat::pf24bit);
    work.canvas().fillRect(Rect{1, 1, 3, 4});
    (void)filterRows(work, s);
}

void graph(const QString& line) {
    const auto g = parseGraphPreset(line);
    if (!g) return;
    (void)readGraphConstants(g->constants);
    if (const auto text = formatGraphPreset(*g)) {
        const auto again = parseGraphPreset(QStringLiteral("n=") + *text);
        if (!again || !(*again == *g)) std::abort();
    }
}

void surface(const QString& value) {
    const auto e = surf3DPresetExpressions(value);
    if (!e) return;
    const auto again = surf3DPresetExpressions(surf3DPresetValue(e->fx, e->fy));
    if (!again || again->fx != e->fx || again->fy != e->fy) std::abort();
}

void fractal(const QString& value) {
    FractalFields f = defaultFractalFields();
    if (!readFractalPreset(value, f)) return;
    if (const auto text = fractalPresetValue(f)) {
        FractalFields again = defaultFractalFields();
        if (!readFractalPreset(*text, again) || again.edits != f.edits || again.mandel != f.mandel ||
            again.iterations != f.iterations || again.colors != f.colors)
            std::abort();
    }
    if (const auto s = fractalSettings(f)) {
        Bitmap out;
        (void)renderFractal(*s, 3, 2, out);
    }
}

void libraryEntry(const QString& value) {
    const QString script = script::scriptOfEntry(value);
    (void)script::runTextOf(script);
    if (const auto entry = script::entryOfScript(script))
        if (script::scriptOfEntry(*entry) != script) std::abort();
}

struct FileKind {
    PresetFile::Kind kind;
    void (*line)(const QString& line);  // given the whole line
    void (*value)(const QString& value);  // given the text after the first "="
};

const FileKind kKinds[] = {
    {kQBPresetsKind, backdrop, nullptr},   {kUserFiltersKind, userFilter, nullptr},
    {PresetFile::Kind{}, graph, nullptr},  {kSurf3DPresetsKind, nullptr, surface},
    {kFractalPresetsKind, nullptr, fractal}, {script::kLibraryKind, nullptr, libraryEntry},
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    pixoral::fuzz::oneBand();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const FileKind& k = kKinds[data[0] % std::size(kKinds)];
    const QString path = fuzz::scratchFile(QStringLiteral("presets.txt"), fuzz::bytesOf(data + 1, size - 1));
    PresetFile file(path, k.kind);
    if (!file.load()) std::abort();  // a small readable file always loads
    (void)file.problemsMessage();
    (void)userFiltersProblems(file);
    for (int i = 0; i < file.count(); ++i) {
        if (k.line) k.line(file.lines()[i]);
        if (k.value && file.isEntry(i)) k.value(file.value(i));
    }

    const QStringList first = file.lines();
    const PresetFile::Edit added = file.add(QStringLiteral("fuzz entry"), QStringLiteral("1"));
    if (added.changed() && !file.remove(added.index).changed()) std::abort();
    PresetFile reread(path, k.kind);
    if (!reread.load() || reread.lines() != first) std::abort();
    return 0;
}
