// The resource compiler on scripts written to a temporary folder: what it
// accepts, the errors it reports (with file and line) and the files it
// records as dependencies.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "w32rc.h"

namespace {

namespace fs = std::filesystem;

class RcCompiler : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/w32rc_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) {
        fs::path p = fs::path(dir_) / name;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }

    w32rc::Script Compile(const std::string& text) { return w32rc::Compile({Write("t.rc", text)}, {}); }

    // The error message of compiling text ("" when it compiles).
    std::string ErrorOf(const std::string& text) {
        try {
            Compile(text);
        } catch (const w32rc::Error& e) {
            return e.what();
        }
        return "";
    }

    std::string dir_;
};

// A minimal 1 x 1 24-bit bitmap file.
std::string TinyBmp() {
    std::string b = "BM";
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) b.push_back(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&](uint16_t v) {
        b.push_back(char(v & 0xFF));
        b.push_back(char(v >> 8));
    };
    u32(58);
    u16(0);
    u16(0);
    u32(54);
    u32(40);
    u32(1);
    u32(1);
    u16(1);
    u16(24);
    u32(0);
    u32(4);
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    b += std::string("\x01\x02\x03\x00", 4);
    return b;
}

TEST_F(RcCompiler, ErrorsNameTheFileAndLine) {
    std::string e = ErrorOf("// comment\nD DIALOG 0, 0, 10, 10\nSTYLE WS_CHILD | WS_NO_SUCH_STYLE\nBEGIN\nEND\n");
    EXPECT_NE(e.find("t.rc:3:"), std::string::npos) << e;
    EXPECT_NE(e.find("WS_NO_SUCH_STYLE"), std::string::npos) << e;

    // A missing argument is reported where the next token stands.
    e = ErrorOf("D DIALOG 0, 0, 10, 10\nBEGIN\n  PUSHBUTTON \"a\", 1, 0, 0, 10\nEND\n");
    EXPECT_NE(e.find("t.rc:4: expected ','"), std::string::npos) << e;

    e = ErrorOf("D DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"never closed, 1, 0, 0, 1, 1\nEND\n");
    EXPECT_NE(e.find("unterminated string"), std::string::npos) << e;

    e = ErrorOf("D DIALOG 0, 0, 10, 10\nBEGIN\n  SPINNER 1, 0, 0, 1, 1\nEND\n");
    EXPECT_NE(e.find("unknown control"), std::string::npos) << e;

    e = ErrorOf("D DIALOG 0, 0, 10, 10\nBEGIN\n");
    EXPECT_NE(e.find("end of input"), std::string::npos) << e;

    e = ErrorOf("X WIDGET \"a\"\n");
    EXPECT_NE(e.find("unknown resource type"), std::string::npos) << e;

    e = ErrorOf("/* never closed\nD DIALOG 0,0,1,1\n");
    EXPECT_NE(e.find("unterminated comment"), std::string::npos) << e;
}

TEST_F(RcCompiler, ErrorsInIncludedHeadersNameTheHeader) {
    Write("ids.h", "#define A 1\n#if\n#endif\n");
    std::string e = ErrorOf("#include \"ids.h\"\n");
    EXPECT_NE(e.find("ids.h:2:"), std::string::npos) << e;
    e = ErrorOf("#include \"missing.h\"\n");
    EXPECT_NE(e.find("missing.h"), std::string::npos) << e;
    // System headers need not exist: their names are predefined.
    EXPECT_EQ(ErrorOf("#include <windows.h>\n#include <commctrl.h>\n#include \"winres.h\"\n"), "");
}

TEST_F(RcCompiler, HeadersIncludingEachOtherOnceAreReadOnce) {
    Write("a.h", "#pragma once\n#include \"b.h\"\n#define A 1\n");
    Write("b.h", "#pragma once\n#include \"a.h\"\n#define B 2\n");
    w32rc::Script s = Compile("#include \"a.h\"\n#include \"b.h\"\nSTRINGTABLE BEGIN A \"a\" B \"b\" END\n");
    ASSERT_EQ(s.strings.size(), 2u);
    // Without #pragma once a header including itself is stopped, not followed for ever.
    Write("self.h", "#include \"self.h\"\n");
    EXPECT_NE(ErrorOf("#include \"self.h\"\n").find("nested too deeply"), std::string::npos);
}

TEST_F(RcCompiler, DuplicateNamesAndStringIdsAreRejectedAcrossScripts) {
    std::string e = ErrorOf("A MENU\nBEGIN\nEND\na MENU\nBEGIN\nEND\n");
    EXPECT_NE(e.find("defined twice"), std::string::npos) << e;

    std::string one = Write("one.rc", "STRINGTABLE\nBEGIN\n 7 \"x\"\nEND\nM MENU\nBEGIN\nEND\n");
    std::string two = Write("two.rc", "STRINGTABLE\nBEGIN\n 7 \"y\"\nEND\n");
    std::string three = Write("three.rc", "m MENU\nBEGIN\nEND\n");
    try {
        w32rc::Compile({one, two}, {});
        ADD_FAILURE() << "string 7 defined in two scripts was accepted";
    } catch (const w32rc::Error& err) {
        EXPECT_NE(std::string(err.what()).find("two.rc:3"), std::string::npos) << err.what();
        EXPECT_NE(std::string(err.what()).find("one.rc:3"), std::string::npos) << err.what();
    }
    EXPECT_THROW(w32rc::Compile({one, three}, {}), w32rc::Error);
}

TEST_F(RcCompiler, TextsMustBeUtf8ThatGbkCanHold) {
    EXPECT_EQ(ErrorOf("STRINGTABLE\nBEGIN\n 1 \"中文：，。\"\nEND\n"), "");
    // An emoji has no GBK code.
    std::string e = ErrorOf("STRINGTABLE\nBEGIN\n 1 \"smile \xF0\x9F\x98\x80\"\nEND\n");
    EXPECT_NE(e.find("GBK"), std::string::npos) << e;
    // Latin-1 bytes are not UTF-8.
    e = ErrorOf("STRINGTABLE\nBEGIN\n 1 \"caf\xE9\"\nEND\n");
    EXPECT_NE(e.find("t.rc:3"), std::string::npos) << e;
}

TEST_F(RcCompiler, PreprocessorConditionsDefinesAndContinuations) {
    w32rc::Script s = Compile(
        "#define BASE 100\n"
        "#define NEXT (BASE + 1)\n"
        "#define WIDE \\\n"
        "   (BASE * 2)\n"
        "#ifndef BASE\n"
        "#error not reached\n"
        "#elif BASE > 50\n"
        "STRINGTABLE BEGIN NEXT \"next\" WIDE \"wide\" END\n"
        "#else\n"
        "#error not reached either\n"
        "#endif\n"
        "#undef BASE\n"
        "#ifdef BASE\n"
        "#error BASE was undefined\n"
        "#endif\n"
        "#if 0\n"
        "  #if 1\n"
        "  garbage that is skipped \"\n"
        "  #endif\n"
        "#endif\n");
    ASSERT_EQ(s.strings.size(), 2u);
    EXPECT_EQ(s.strings[0].id, 101u);
    EXPECT_EQ(s.strings[1].id, 200u);
    EXPECT_NE(ErrorOf("#error stop here\n").find("stop here"), std::string::npos);
    EXPECT_NE(ErrorOf("#if 1\n").find("without #endif"), std::string::npos);
    EXPECT_NE(ErrorOf("#endif\n").find("without #if"), std::string::npos);
}

TEST_F(RcCompiler, NumbersAndStyleExpressions) {
    w32rc::Script s = Compile(
        "D DIALOGEX 0, 0, 0x10, 8 * 2 + 1\n"
        "STYLE 0x40000000L | NOT 0x40000000 | WS_POPUP\n"
        "BEGIN\n"
        "  CONTROL \"\", 5, \"X\", 0x5 | (0x10 | 0x20) & 0x30, -1, -2, 3, 4\n"
        "  EDITTEXT 6, 0, 0, 1, 1, NOT WS_BORDER | NOT WS_TABSTOP | ES_NUMBER\n"
        "END\n");
    ASSERT_EQ(s.resources.size(), 1u);
    const w32rc::Dialog& d = *s.resources[0].dialog;
    EXPECT_EQ(d.cx, 16);
    EXPECT_EQ(d.cy, 17);
    EXPECT_EQ(d.style, 0x80000000u);
    EXPECT_EQ(d.items[0].style, 0x50000035u);
    EXPECT_EQ(d.items[0].x, -1);
    EXPECT_EQ(d.items[1].style, 0x50002000u);
    EXPECT_NE(ErrorOf("D DIALOG 0, 0, 70000, 1\nBEGIN\nEND\n").find("out of range"), std::string::npos);
    EXPECT_NE(ErrorOf("D DIALOG 0, 0, 1 / 0, 1\nBEGIN\nEND\n").find("division by zero"), std::string::npos);
    EXPECT_NE(ErrorOf("0 MENU BEGIN END\n").find("1 to 65535"), std::string::npos);
}

TEST_F(RcCompiler, CaptionAddsACaptionBarOnlyToTheDefaultStyle) {
    w32rc::Script s = Compile(
        "A DIALOG 0, 0, 1, 1\nCAPTION \"a\"\nBEGIN\nEND\n"
        "B DIALOG 0, 0, 1, 1\nSTYLE WS_CHILD\nCAPTION \"b\"\nBEGIN\nEND\n"
        "C DIALOG 0, 0, 1, 1\nBEGIN\nEND\n");
    ASSERT_EQ(s.resources.size(), 3u);
    EXPECT_EQ(s.resources[0].dialog->style, 0x80C80000u);  // WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION
    EXPECT_EQ(s.resources[1].dialog->style, 0x40000000u);  // as written
    EXPECT_EQ(s.resources[1].dialog->caption, "b");
    EXPECT_EQ(s.resources[2].dialog->style, 0x80880000u);
}

TEST_F(RcCompiler, ReferencedFilesAreCheckedAndRecordedAsDependencies) {
    Write("img/a.bmp", TinyBmp());
    Write("hdr/ids.h", "#define IDB 7\n");
    Write("bad.bmp", "BM but nothing else");
    Write("bad.ico", std::string("\0\0\1\0\1\0", 6));
    std::string rc = Write("t.rc", "#include \"hdr/ids.h\"\nA BITMAP \"img\\\\a.bmp\"\nIDB BITMAP \"img/a.bmp\"\n");
    w32rc::Script s = w32rc::Compile({rc}, {});
    ASSERT_EQ(s.resources.size(), 2u);
    EXPECT_EQ(s.resources[0].binary->width, 1);
    EXPECT_EQ(s.resources[1].number, 7u);
    auto has = [&](const std::string& suffix) {
        for (const std::string& d : s.dependencies)
            if (d.size() >= suffix.size() && d.compare(d.size() - suffix.size(), suffix.size(), suffix) == 0)
                return true;
        return false;
    };
    EXPECT_TRUE(has("/t.rc"));
    EXPECT_TRUE(has("/hdr/ids.h"));
    EXPECT_TRUE(has("/img/a.bmp"));
    for (const std::string& d : s.dependencies) EXPECT_TRUE(fs::path(d).is_absolute()) << d;

    EXPECT_NE(ErrorOf("A BITMAP \"nope.bmp\"\n").find("cannot find file"), std::string::npos);
    EXPECT_NE(ErrorOf("A BITMAP \"bad.bmp\"\n").find("not a bitmap"), std::string::npos);
    EXPECT_NE(ErrorOf("A ICON \"bad.ico\"\n").find("not an icon"), std::string::npos);
    EXPECT_NE(ErrorOf("A ICON \"img/a.bmp\"\n").find("not an icon"), std::string::npos);
}

TEST_F(RcCompiler, NoScriptsGiveAnEmptyTable) {
    w32rc::Script s = w32rc::Compile({}, {});
    std::string src = w32rc::Emit(s, "resdata.h");
    EXPECT_NE(src.find("w32_resource_table = {nullptr, 0u, nullptr, 0u}"), std::string::npos) << src;
    EXPECT_NE(src.find("#include \"resdata.h\""), std::string::npos);
}

}  // namespace
