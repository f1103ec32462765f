#include "workspace/Commands.h"

#include "workspace/SecondaryWindows.h"
#include "workspace/TPixoralF.h"
#include "workspace/WindowSettings.h"
#include "workspace/ToolCommands.h"

namespace pixoral {

namespace {

using F = TPixoralF;
namespace TC = toolcommands;

MenuEntry item(const char* caption, CommandHandler h = {}) {
    MenuEntry e;
    e.caption = QString::fromUtf8(caption);
    e.handler = std::move(h);
    return e;
}
// A command whose Part is not built yet: present, disabled.
MenuEntry later(const char* caption) { return item(caption); }
MenuEntry sep() { return item("-"); }
MenuEntry sub(const char* caption, std::vector<MenuEntry> children) {
    MenuEntry e = item(caption);
    e.children = std::move(children);
    return e;
}
MenuEntry tool(const char* caption, const char* mode, int icon, bool shapeset = true) {
    MenuEntry e = item(caption);
    e.mode = QString::fromLatin1(mode);
    e.icon = icon;
    e.shapeset = shapeset;
    return e;
}
std::vector<MenuEntry> laterAll(std::initializer_list<const char*> captions) {
    std::vector<MenuEntry> v;
    for (const char* c : captions) v.push_back(later(c));
    return v;
}

MenuEntry penMode(const char* caption, PenMode m) {
    const QString status = QStringLiteral("Pen=") + QString::fromUtf8(caption);
    return item(caption, [m, status](F& w) { w.setPenModeItem(m, status); });
}
MenuEntry brushItem(const char* caption, BrushStyle s, int icon) {
    return item(caption, [s, icon](F& w) { w.brushset(s, icon); }).image(icon);
}
MenuEntry penStyle(const char* caption, PenStyle s) {
    return item(caption, [s](F& w) { w.setPenStyleItem(s); });
}
MenuEntry copyMode(const char* caption, CopyMode m) {
    return item(caption, [m](F& w) { w.setCopyModeItem(m); });
}

// ---- the drop-down menus of the toolbar (some are shared with the menu bar) ----

std::vector<MenuEntry> shapesMenu() {
    return {
        sub("Lines", {tool("Line", "line", icoLine), tool("Line Straight", "sline", icoSLine),
                      tool("Bezier", "bezier", icoBezier), tool("Freehand", "freehand", icoFreehand),
                      tool("Arc", "arc", icoArc), tool("Spiral", "spiral", icoSpiral),
                      tool("SpiroGraph", "spiro", icoSpiro)}),
        sub("2D Shapes", {tool("Rectangle", "rectangle", icoRectangle), tool("Skew Rectangle", "skewrect", icoSkewRect),
                          tool("Round Rect", "roundrect", icoRoundRect), tool("Triangle", "triangle", icoTriangle),
                          tool("Ellipse", "ellipse", icoEllipse), tool("Chord", "chord", icoChord),
                          tool("Pie", "pie", icoPie), tool("Star", "star", icoStar), tool("Maze", "maze", icoMaze)}),
        sub("3D Shapes", {tool("Cube", "cube", icoCube), tool("Globe", "globe", icoGlobe), tool("Cone", "cone", icoCone)}),
        sub("Mirrors", {tool("hMirror", "hmirror", icoHMirror), tool("vMirror", "vmirror", icoVMirror),
                        tool("cMirror", "cmirror", icoCMirror), tool("Mirror4", "mirror4", icoMirror4),
                        tool("Symmetric", "sym", icoSym)}),
        tool("Spray", "spray", icoSpray),
        tool("Blocks", "blocks", icoBlocks),
        sub("Clone", {tool("All Colors", "cloneall", icoClone, false), tool("Not Target Color", "clonenottarget", icoClone, false)}),
    };
}

std::vector<MenuEntry> paintTextMenu() {
    return {
        item("Font...", &F::Font1Click).named("Font2"),
        item("Text...", &F::Text1Click).named("Text2"),
        tool("Shadow", "shadowtext", icoText, false).named("Shadow2"),
        item("Shadow dx...", &F::ShadowDx1Click),
        item("Shadow dy...", &F::ShadowDy1Click),
        item("Shadow Color...", &F::ShadowColor1Click),
        item("Shadow Default", &F::ShadowDefault1Click).named("ShadowDefault2"),
    };
}

std::vector<MenuEntry> makeButtonMenu() {
    return {item("&Make", &F::Make1Click).named("Make1"), item("&Width...", &F::Width1Click).named("Width1"),
            item("&Height...", &F::Height1Click).named("Height1"), item("&Color...", &F::Color1Click).named("Color1"),
            item("&Default", &F::Default1Click).named("Default1")};
}

std::vector<MenuEntry> brushStyleMenu() {
    return {brushItem("Solid", BrushStyle::bsSolid, icoBrushSolid),
            brushItem("Clear", BrushStyle::bsClear, icoBrushClear),
            brushItem("Horizontal", BrushStyle::bsHorizontal, icoBrushHorizontal),
            brushItem("Vertical", BrushStyle::bsVertical, icoBrushVertical),
            brushItem("FDiagonal", BrushStyle::bsFDiagonal, icoBrushFDiagonal),
            brushItem("BDiagonal", BrushStyle::bsBDiagonal, icoBrushBDiagonal),
            brushItem("Cross", BrushStyle::bsCross, icoBrushCross),
            brushItem("DiagCross", BrushStyle::bsDiagCross, icoBrushDiagCross)};
}

std::vector<MenuEntry> lineWidthMenu() {
    std::vector<MenuEntry> v;
    const char* widths[] = {"1 pixel", "2 pixels", "3 pixels", "4 pixels", "5 pixels"};
    for (int i = 0; i < 5; ++i) {
        const int icon = icoWidth1 + i;
        v.push_back(item(widths[i], [i, icon](F& w) { w.SetLineWidth(i + 1, icon); }).image(icon));
    }
    v.push_back(item("Other Size...", &F::OtherSize1Click));
    v.push_back(sep());
    v.push_back(penStyle("Solid", PenStyle::psSolid));
    v.push_back(penStyle("Dash", PenStyle::psDash));
    v.push_back(penStyle("Dot", PenStyle::psDot));
    v.push_back(penStyle("Dash Dot", PenStyle::psDashDot));
    v.push_back(penStyle("Dash Dot Dot", PenStyle::psDashDotDot));
    v.push_back(penStyle("Clear", PenStyle::psClear));
    v.push_back(penStyle("Inside Frame", PenStyle::psInsideFrame));
    return v;
}

std::vector<MenuEntry> penModeMenu() {
    using P = PenMode;
    return {penMode("Copy", P::pmCopy),           penMode("Xor", P::pmXor),
            penMode("Not Xor", P::pmNotXor),      penMode("Black", P::pmBlack),
            penMode("White", P::pmWhite),         penMode("Not", P::pmNot),
            penMode("Not Copy", P::pmNotCopy),    penMode("Merge Pen Not", P::pmMergePenNot),
            penMode("Mask Pen Not", P::pmMaskPenNot), penMode("Merge Not Pen", P::pmMergeNotPen),
            penMode("Mask Not Pen", P::pmMaskNotPen), penMode("Merge", P::pmMerge),
            penMode("Not Merge", P::pmNotMerge),  penMode("Mask", P::pmMask),
            penMode("Not Mask", P::pmNotMask)};
}

std::vector<MenuEntry> copyModesMenu() {
    return {copyMode("Copy", cmSrcCopy).named("Copy3"),
            copyMode("Black", cmBlackness),
            copyMode("Destination Invert", cmDstInvert),
            copyMode("Merge Copy", cmMergeCopy).named("MergeCopy2"),
            copyMode("Merge Paint", cmMergePaint).named("MergePaint2"),
            copyMode("Not Source Copy", cmNotSrcCopy).named("NotSrcCopy1"),
            copyMode("Not Source Erase", cmNotSrcErase).named("NotSrcErase1"),
            copyMode("Source And", cmSrcAnd).named("SrcAnd1"),
            copyMode("Source Erase", cmSrcErase).named("SrcErase1"),
            copyMode("Source Invert", cmSrcInvert).named("SrcInvert1"),
            copyMode("Source Paint", cmSrcPaint).named("SrcPaint1"),
            copyMode("White", cmWhiteness),
            item("Paste Mask", [](F& w) { w.setCopySelectionMode(QStringLiteral("pastemask"), icoPasteMask); }).image(icoPasteMask),
            item("Paste", [](F& w) { w.setCopySelectionMode(QStringLiteral("paste"), icoPaste); }).named("Paste2").image(icoPaste)};
}

// Eight places filled in from the list of recent files; unused ones are hidden.
std::vector<MenuEntry> recentMenu() {
    std::vector<MenuEntry> v;
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const QByteArray caption = "&" + QByteArray::number(i + 1);
        v.push_back(item(caption.constData(), [i](F& w) { w.openRecentClick(i); })
                        .named(QStringLiteral("Recent%1").arg(i + 1)));
    }
    v.push_back(sep());
    v.push_back(item("&Clear List", &F::ClearRecent1Click).named("ClearRecent1"));
    return v;
}

std::vector<MenuEntry> starPointsMenu() {
    std::vector<MenuEntry> v;
    for (int n = 3; n <= 12; ++n) {
        MenuEntry e = item("", [n](F& w) { toolcommands::setStarPoints(w, n); });
        e.caption = QString::number(n);
        v.push_back(std::move(e));
    }
    return v;
}

// ---- the menu bar ----

std::vector<MenuEntry> buildMenuBar() {
    std::vector<MenuEntry> m;
    m.push_back(sub("&File", {
        item("&New", &F::New1Click).named("New1"),
        item("New &Banner", &F::NewBanner1Click).named("NewBanner1"),
        item("&Open...", &F::Open1Click).named("Open1").key("Ctrl+O"),
        item("Save &As...", &F::SaveAs1Click).named("SaveAs1").key("Ctrl+S"),
        sub("Open &Recent", recentMenu()).named("OpenRecent1"),
        item("Open Pattern...", &F::OpenPattern1Click).named("OpenPattern1"),
        item("Save Pattern...", &F::SavePattern1Click).named("SavePattern1"),
        sub("Split Save", {later("&Vertical Split...").named("VerticalSplit1"),
                           later("&Horizontal Split...").named("HorizontalSplit1"),
                           later("&Puzzle Split...").named("PuzzleSplit1"), sep(),
                           later("Image Count...").named("ImageCount1")}),
        sep(),
        later("Print...").named("Print1"),
        sep(),
        item("E&xit", &F::Exit1Click),
    }));
    m.push_back(sub("&Edit", {
        item("&Copy to Clipboard", &F::CopytoClipboard1Click).named("CopytoClipboard1"),
        item("&Paste from Clipboard", &F::PastefromClipboard1Click).named("PastefromClipboard1"),
        item("Paste &Stretch from Clipboard", &F::PasteStretchfromClipboard1Click).named("PasteStretchfromClipboard1"),
        sep(),
        item("&Redo", &F::Redo1Click).named("Redo1").key("Ctrl+Y").key("Ctrl+Shift+Z"),
    }));
    m.push_back(sub("&View", {item("&Effects Panel", [](F& w) { w.windows().showEffectsPanel(); }).named("EffectsPanel1")}));
    m.push_back(sub("&Text", {
        item("&Font...", &F::Font1Click).named("Font1").key("Ctrl+F"),
        item("&Text...", &F::Text1Click).named("Text1").key("Ctrl+T"),
        tool("&Shadow", "shadowtext", icoText, false).named("Shadow1"),
        item("&Default Shadow", &F::ShadowDefault1Click).named("ShadowDefault1"),
        tool("&Rotate Text", "rotatetext", icoText, false).named("RotateText1"),
    }));
    m.push_back(sub("&Options", {
        item("&Blocks...", &TC::askBlocks), item("Line Tolerance...", &TC::askLineTolerance),
        item("Polygon", &TC::togglePolygon).flag(MenuEntry::Checkable),
        item("&Rounding...", &TC::askRounding), item("Shapes...", &TC::askShapes),
        sub("Spirals", {item("Right", [](F& w) { TC::setSpiralDirection(w, 1); }),
                        item("Left", [](F& w) { TC::setSpiralDirection(w, -1); }),
                        item("1", [](F& w) { TC::setSpiralTurns(w, 1); }), item("2", [](F& w) { TC::setSpiralTurns(w, 2); }),
                        item("3", [](F& w) { TC::setSpiralTurns(w, 3); }), item("Other...", &TC::otherSpirals)}),
        sub("Spiralfactor", {item("0.99", [](F& w) { TC::setSpiralFactor(w, 0.99); }),
                             item("0.97", [](F& w) { TC::setSpiralFactor(w, 0.97); }),
                             item("0.95", [](F& w) { TC::setSpiralFactor(w, 0.95); }),
                             item("Other...", &TC::otherSpiralFactor)}),
        sub("&Starpoints", starPointsMenu()),
        sub("SpiroGraph", {item("&Turns...", &TC::askSpiroTurns)}),
        sub("&GIF Image", {item("Transparent", &F::GifTransClick).named("GifTrans").flag(MenuEntry::Checkable)}),
    }));
    m.push_back(sub("&Image", {
        sub("Quick", {item("&Quick Background...", [](F& w) { w.windows().showQuickBackground(); }).named("SetUser1"), later("Quick Cells...").named("QuickCells1"),
                      later("Quick &Filter..."), later("Quick Graph...").named("QuickGraph1"),
                      later("Quick Fractals...").named("QuickFractals1"), later("Quick Button...").named("QuickButton1"),
                      later("Quick 3D...").named("Quick3D1"), later("Quick JPEG...").named("QuickJPEG1")}),
        sub("Frames", {later("&Set..."), later("&Go").key("Ctrl+G"), later("&Hide"), later("Clip"), later("Paste Clip"),
                       sep(), later("Save As BMP's...")}),
        item("Clear Default", &F::ClearDefault1Click).named("ClearDefault1"),
        sep(),
        sub("Pixel Format", {item("8 bit", &F::N8bit1Click).named("N8bit1").flag(MenuEntry::Checkable | MenuEntry::Radio | MenuEntry::Checked),
                             item("24 bit", &F::N24bit1Click).named("N24bit1").flag(MenuEntry::Checkable | MenuEntry::Radio)}),
        sub("Capture", {item("&Screen", &F::Screen1Click).named("Screen1")}),
        sub("&Trace", {item("&Trace", &F::Moire1Click).named("Moire1"), item("&Contour Accent", &F::Generate1Click).named("Generate1"),
                       item("Trace &Range", &F::TraceRange1Click).named("TraceRange1"), sep(),
                       item("Color Byte", &F::ColorByte1Click).named("ColorByte1"),
                       item("Intensity", &F::TraceIntensityClick).named("TraceIntensity")}),
        later("Crop").named("Crop1"),
        later("Seamless Pattern").named("SeamlessPattern1"),
        sub("Rotation", {later("Rotate").named("Rotate1").key("Ctrl+Alt+R"), later("Angle...").named("Angle1")}),
        sub("Whirl", {later("Whirl In").named("WhirlIn1"), later("Whirl Out").named("WhirlOut1"),
                      later("Whirl Center").named("WhirlCenter1"), later("Double Whirl").named("DoubleWhirl1"),
                      later("Wirl Wave 10").named("WirlWave101"), later("Wirl Wave 20").named("WirlWave201"),
                      later("Ripple 10").named("Ripple101"), later("Ripple 20").named("Ripple201"),
                      later("Whirl Band 90"), later("Whirl Band 45"), later("Whirl Band 25").named("WhirlBand251"),
                      later("Whirl Revert").named("WhirlRevert1")}),
        sub("Projection", {later("&Globe").named("Globe2"), later("Cylinder Horizontal").named("CylinderHorizontal1"),
                           later("Cylinder Vertical").named("CylinderVertical1"), sep(),
                           later("&Factor...").named("Factor1"), later("&Retain Borders").named("RetainBorders1"),
                           later("&Sinus").named("Sinus1").flag(MenuEntry::Checkable | MenuEntry::Checked)}),
        item("&Invert", &F::Invert1Click).named("Invert1"),
        sub("Mask", {later("from Image").named("MaskfromImage1"), later("from File...").named("MaskfromFile1"),
                     later("Brush").named("Brush1")}),
        sep(),
        sub("Effects", {item("Grayscale", &F::Grayscale1Click).named("Grayscale1"), item("Spray", &F::Spray2Click).named("Spray2"),
                        item("Anti Alias", &F::AntiAlias1Click).named("AntiAlias1")}),
        sub("&Magnify", {later("x2").named("x21"), later("x4").named("x41"), later("x8").named("x81")}),
        sub("&Reduce", {later("x2"), later("x4"), later("x8")}),
        sub("Move", {later("Left").key("Ctrl+Alt+L"), later("Right").key("Ctrl+Alt+R"), later("Up").named("Up1").key("Ctrl+Alt+U"),
                     later("Down").named("Down1").key("Ctrl+Alt+D")}),
        sub("Flip", {later("Right"), later("Down")}),
        sub("Mirror", {later("&Down"), later("&Up"), later("&Left"), later("&Right"), sep(),
                       later("Quad Top Left").named("QuadTopLeft1"), later("&Wedge").named("Wedge1")}),
        sub("Colors", {item("Roll RGB", &F::RollColors1Click).named("RollColors1"), item("Swap RG", &F::SwapRG1Click).named("SwapRG1"),
                       item("Swap GB", &F::SwapGB1Click).named("SwapGB1"), item("Swap RB", &F::SwapRB1Click).named("SwapRB1")}),
        sub("Shadow", {later("Up Left"), later("Up Right").named("UpRight1"), later("Down Left").named("DownLeft1"),
                       later("Down Right").named("DownRight1")}),
        sub("Pixelize", {later("2").named("N21"), later("3").named("N33"), later("4").named("N42"), later("5").named("N52"),
                         later("10").named("N102"), later("15").named("N151"), later("20").named("N201")}),
        sub("Ripple", {later("Random").named("Random2"), later("Tooth").named("Tooth1"), later("Triangle").named("Triangle2"),
                       later("Wave").named("Wave1"), later("Wave Extra").named("WaveExtra1"),
                       later("Wave Inference").named("WaveInference1"), sep(), later("Height...").named("Height2"),
                       later("Inference...").named("Inference1")}),
        sub("Texturize", {later("Standard").named("Standard1").key("F5"), later("Overlap").named("Overlap1").key("Shift+F5")}),
    }));
    struct LogicRow {
        const char* caption;
        const char* name;
        void (F::*handler)();
    };
    auto logic = [](const char* family, std::initializer_list<LogicRow> items) {
        std::vector<MenuEntry> v;
        for (const LogicRow& r : items) v.push_back(item(r.caption, r.handler).named(QString::fromLatin1(r.name)));
        return sub(family, std::move(v));
    };
    m.push_back(sub("&Range", {
        sub("Assign To", {later("Quick Button").named("QuickButton2")}),
        sub("&Transition", {later("&Start Color...").named("StartColor1"), later("&End Color...").named("EndColor1"),
                            later("&Bands...").named("Bands1"), later("Xstep...").named("Xstep1"),
                            later("Ystep...").named("Ystep1"), sep(), later("&Horizontal").named("Horizontal4"),
                            later("&Vertical").named("Vertical5"), later("&Conical").named("Conical1"),
                            later("&Elliptical").named("Elliptical1"), later("&Rounded").named("Rounded1")}),
        item("Erase", &F::Erase1Click).named("Erase1"),
        item("&Invert", &F::Invert2Click).named("Invert2"),
        sub("Square", {item("to Height", &F::toHeight1Click).named("toHeight1"),
                       item("to Width", &F::toWidth1Click).named("toWidth1")}),
        sub("&Whirl", {later("Whirl In"), later("Whirl Out").named("WhirlOut2"), later("Whirl Center"),
                       later("Whirl Double").named("WhirlDouble1")}),
        later("Magnify").named("Magnify1"),
        sub("&Logic", {logic("&And", {{"&Blue", "Blue2", &F::Blue2Click}, {"&Red", "Red2", &F::Red2Click},
                                      {"&Green", "Green2", &F::Green2Click}, {"&User", "User1", &F::User1Click}}),
                       logic("&Or", {{"&Red", "Red3", &F::Red3Click}, {"&Blue", "Blue3", &F::Blue3Click},
                                     {"&Green", "Green3", &F::Green3Click}, {"&User", "User2", &F::User2Click}}),
                       logic("&Xor", {{"&Red", "Red4", &F::Red4Click}, {"&Blue", "Blue4", &F::Blue4Click},
                                      {"&Green", "Green4", &F::Green4Click}, {"&User", "User3", &F::User3Click}})}),
        item("&Select All", &F::SelectAll2Click).named("SelectAll2").key("Ctrl+A"),
        sub("&Mask", {later("&Squares").named("Squares1"), later("&Oval").named("Ovals1"),
                      later("&Diamond").named("Diamonds1"), later("Octagon").named("Octagon1"),
                      later("&User Mask").named("UserMask1")}),
        sub("&Tile", {item("&All", &F::Tile1Click).named("Tile1"), item("&Diagonal", &F::Random1Click).named("Random1")}),
        sub("&Border", {item("&Horizontal", &F::Horizontal2Click).named("Horizontal2"),
                        item("&Vertical", &F::Vertical3Click).named("Vertical3")}),
        item("Mirror", &F::Mirror1Click).named("Mirror1"),
        item("Stretch", &F::Mozaic1Click).named("Mozaic1"),
        item("Reduce", &F::Reduce2Click).named("Reduce2"),
        sub("Split", {item("Set &Offset...", &F::SetOffset1Click).named("SetOffset1"),
                      item("&Horizontal", &F::Horizontal3Click).named("Horizontal3"),
                      item("&Vertical", &F::Vertical4Click).named("Vertical4")}),
        tool("Move", "rangemove", -1, false).named("Move1"),
        tool("Smear", "rangesmear", -1, false).named("Smear1"),
        sub("Copy Transparent", {item("Color...", &F::Color5Click).named("Color5"),
                                 tool("&Copy", "transcopy", -1, false).named("Copy4")}),
    }));
    m.push_back(sub("&Script", {
        later("&View Editor").named("ScriptEditor1"), later("&Open...").named("Open2"), later("Save &As").named("SaveAs2"), sep(),
        later("&Run").named("Run1").key("F9"), later("Run Item").named("RunItem1").key("Shift+F9"), sep(),
        later("&Add").named("Add1"), later("&Delete").named("Delete1"), later("&Update").named("Update2"), sep(),
        later("&Select All").named("SelectAll1").key("Ctrl+A"), later("Cu&t").named("Cut1").key("Ctrl+X"),
        later("&Copy").key("Ctrl+C"), later("&Paste").key("Ctrl+V"),
    }));
    m.push_back(sub("&Gadgets", {
        sub("Image", laterAll({"GadImage1", "GadImage2", "GadImage3"})),
        sub("Labels", laterAll({"GadLabel1", "GadLabel2", "GadLabel3"})),
        sub("Buttons", laterAll({"GadBut1", "GadBut2", "GadBut3", "GadBut4", "GadBut5", "GadBut6", "GadBut7", "GadBut8"})),
    }));
    m.push_back(sub("&Help", {later("&Contents").named("Contents1").key("F1"), sep(), item("&About", &F::About1Click).named("About1")}));
    return m;
}

std::vector<ToolButtonEntry> buildToolBar() {
    std::vector<ToolButtonEntry> t;
    auto add = [&t](const char* name, const char* hint, int icon, bool sepBefore = false) -> ToolButtonEntry& {
        ToolButtonEntry e;
        e.name = QString::fromLatin1(name);
        e.hint = QString::fromLatin1(hint);
        e.icon = icon;
        e.separatorBefore = sepBefore;
        t.push_back(std::move(e));
        return t.back();
    };
    auto& shape = add("setshape", "Shape", icoLine);
    shape.menuName = QStringLiteral("shapes");
    shape.menu = shapesMenu();
    shape.pressOpensMenu = true;
    auto& text = add("goText", "Paint Text", icoText);
    text.mode = QStringLiteral("text");
    text.menuName = QStringLiteral("SetPaintText");
    text.menu = paintTextMenu();
    auto& button = add("ToolButton8", "Make Button", icoButton);
    button.menuName = QStringLiteral("setbutton");
    button.menu = makeButtonMenu();
    button.pressOpensMenu = true;
    auto& brush = add("setbrushstyle", "Solid/Clear", icoBrushClear, true);
    brush.menuName = QStringLiteral("brushstyle");
    brush.menu = brushStyleMenu();
    brush.pressOpensMenu = true;
    auto& width = add("setwidth", "Line Width", icoWidth1);
    width.menuName = QStringLiteral("linewidth");
    width.menu = lineWidthMenu();
    width.pressOpensMenu = true;
    auto& pen = add("setpenmode", "Set Pen Mode", icoPenMode);
    pen.menuName = QStringLiteral("penmodes");
    pen.menu = penModeMenu();
    pen.pressOpensMenu = true;
    add("ToolButton2", "Select Range", icoSelectRange, true).mode = QStringLiteral("snapshot");
    auto& copy = add("selectcopy", "Copy Selection", icoPaste);
    copy.handler = &F::selectcopyClick;
    copy.menuName = QStringLiteral("copymodes");
    copy.menu = copyModesMenu();
    add("ToolButton4", "Floodfill", icoFloodfill).mode = QStringLiteral("floodfill");
    auto& fill = add("ToolButton14", "Fill Selection", icoFillSelection);
    fill.handler = &F::ToolButton14Click;
    fill.menuName = QStringLiteral("clipspop");
    fill.menu = {item("Mask Clip", &F::MaskClip1Click).named("MaskClip1")};
    add("ToolButton5", "Pick Paint", icoPickPaint).mode = QStringLiteral("paintpick");
    add("ToolButton6", "Paste Color", icoPasteColor).mode = QStringLiteral("pastecolor");
    add("ToolButton7", "Paste Color Inverted", icoPasteColorX).mode = QStringLiteral("pastecolorx");
    add("ToolButton10", "Resize Image", icoResize, true).handler = &F::ToolButton10Click;
    add("ToolButton12", "Clear Image", icoClear).handler = &F::ToolButton12Click;
    add("goUndo", "Undo", icoUndo).handler = &F::goUndoClick;
    return t;
}

}  // namespace

const std::vector<MenuEntry>& menuBarTable() {
    static const std::vector<MenuEntry> table = buildMenuBar();
    return table;
}

const std::vector<ToolButtonEntry>& toolBarTable() {
    static const std::vector<ToolButtonEntry> table = buildToolBar();
    return table;
}

}  // namespace pixoral
