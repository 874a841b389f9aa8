// brisvane.dll as a file: what a failed load means, and its version resource
// read from the bytes of a Windows program.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "cli/Output.h"
#include "dllfile/DllLoadText.h"
#include "dllfile/VersionResource.h"

namespace {

void put16(std::string& s, std::size_t at, uint32_t v) {
    if (s.size() < at + 2) s.resize(at + 2, '\0');
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::size_t at, uint32_t v) {
    put16(s, at, v & 0xFFFF);
    put16(s, at + 2, v >> 16);
}
void pad4(std::string& s) { s.resize((s.size() + 3) / 4 * 4, '\0'); }

std::string utf16z(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += std::string(1, c) + '\0';
    return out + std::string(2, '\0');
}

// A node of the version block, laid out as the resource compiler lays it out.
std::string node(const std::string& key, const std::string& value, uint16_t type,
                 uint16_t valueLength, const std::vector<std::string>& children = {}) {
    std::string n(6, '\0');
    n += utf16z(key);
    pad4(n);
    n += value;
    for (const std::string& child : children) {
        pad4(n);
        n += child;
    }
    put16(n, 0, static_cast<uint16_t>(n.size()));
    put16(n, 2, valueLength);
    put16(n, 4, type);
    return n;
}

std::string text(const std::string& key, const std::string& value) {
    return node(key, utf16z(value), 1, static_cast<uint16_t>(value.size() + 1));
}

std::string versionBlock(const std::string& productVersion) {
    std::string fixed;
    put32(fixed, 0, 0xFEEF04BD);
    put32(fixed, 4, 0x10000);
    put32(fixed, 8, 37u << 16);      // 37.0
    put32(fixed, 12, 2u << 16 | 5);  // .2.5
    put32(fixed, 16, 37u << 16);
    put32(fixed, 20, 0);
    fixed.resize(52, '\0');
    const std::string table =
        node("040904b0", "", 1, 0,
             {text("FileDescription", "brisvane card interface"), text("FileVersion", "37"),
              text("ProductVersion", productVersion)});
    return node("VS_VERSION_INFO", fixed, 0, 52,
                {node("StringFileInfo", "", 1, 0, {table}),
                 node("VarFileInfo", "", 1, 0, {node("Translation", "\x09\x04\xb0\x04", 0, 4)})});
}

// A Windows program of one section, .rsrc, holding `block` as its version
// resource (none when `block` is empty).
std::string peFile(const std::string& block, bool pe64 = false) {
    std::string s = "MZ";
    put32(s, 0x3C, 0x40);
    s.replace(0x40, 4, std::string("PE\0\0", 4));
    const uint32_t optionalSize = pe64 ? 240 : 224;
    put16(s, 0x44, pe64 ? 0x8664 : 0x14c);
    put16(s, 0x46, 1);
    put16(s, 0x54, optionalSize);
    const std::size_t optional = 0x58;
    put16(s, optional, pe64 ? 0x20b : 0x10b);
    const std::size_t dirs = optional + (pe64 ? 112 : 96);
    put32(s, dirs - 4, 16);
    std::string rsrc;
    if (!block.empty()) {
        put16(rsrc, 14, 1);  // root: one entry by id
        put32(rsrc, 16, 16);
        put32(rsrc, 20, 0x80000000u | 0x18);
        put16(rsrc, 0x18 + 14, 1);  // names: VS_VERSION_INFO's 1
        put32(rsrc, 0x18 + 16, 1);
        put32(rsrc, 0x18 + 20, 0x80000000u | 0x30);
        put16(rsrc, 0x30 + 14, 1);  // languages: 0x409
        put32(rsrc, 0x30 + 16, 0x409);
        put32(rsrc, 0x30 + 20, 0x48);
        put32(rsrc, 0x48, 0x1000 + 0x58);  // the data, by its address in the image
        put32(rsrc, 0x4C, static_cast<uint32_t>(block.size()));
        rsrc.resize(0x58, '\0');
        rsrc += block;
        put32(s, dirs + 16, 0x1000);
        put32(s, dirs + 20, static_cast<uint32_t>(rsrc.size()));
    }
    const std::size_t section = optional + optionalSize;
    s.resize(section, '\0');
    s += std::string(".rsrc\0\0\0", 8);
    put32(s, section + 8, static_cast<uint32_t>(rsrc.size()));
    put32(s, section + 12, 0x1000);
    put32(s, section + 16, static_cast<uint32_t>(rsrc.size()));
    put32(s, section + 20, 0x200);
    s.resize(0x200, '\0');
    return s + rsrc;
}

std::string written(const std::string& name, const std::string& bytes) {
    const std::string path = ::testing::TempDir() + "hostemu-version-" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace

TEST(DllLoad, SaysWhatTheErrorMeansAndWhatToDo) {
    struct Case {
        unsigned long error;
        std::vector<std::string> has;
    };
    const Case cases[] = {
        {126,
         {"cannot load C:\\Host\\brisvane.dll (error 126: the DLL, or a DLL it needs, "
          "was not found)\n",
          "hostemu --dll \"C:\\Path To\\brisvane.dll\" \"C:\\Host Folder\"", "needs the quotes"}},
        {193,
         {"(error 193: not a 32-bit Windows DLL (a 64-bit build or a damaged file))\n",
          "load only the 32-bit DLL"}},
        {5, {"(error 5: access denied)\n"}},
    };
    for (const Case& c : cases) {
        const std::string text = dllLoadFailure("C:\\Host\\brisvane.dll", c.error, kEnglishCatalog);
        for (const std::string& part : c.has) EXPECT_NE(text.find(part), std::string::npos) << text;
    }
    EXPECT_EQ(dllLoadFailure("d.dll", 4242, kEnglishCatalog), "cannot load d.dll (error 4242)\n");
    EXPECT_EQ(dllLoadFailure("d.dll", 4242, kRussianCatalog),
              "не удаётся загрузить d.dll (ошибка Windows 4242)\n");
    // Every error with a meaning has it (and its advice) in every language.
    for (const Catalog* catalog : allCatalogs()) {
        for (unsigned long error : {2ul, 3ul, 5ul, 126ul, 127ul, 193ul, 1114ul}) {
            const std::string text = dllLoadFailure("d.dll", error, *catalog);
            EXPECT_NE(text.find(" " + std::to_string(error) + ": "), std::string::npos) << text;
        }
    }
    EXPECT_NE(
        dllLoadFailure("d.dll", 193, kRussianCatalog)
            .find(
                "(ошибка Windows 193: это не 32-разрядная DLL для Windows (64-разрядная сборка или "
                "повреждённый файл))\n  Скопируйте brisvane.dll"),
        std::string::npos);
}

TEST(VersionResource, ReadsTheVersionsFromTheFile) {
    VersionResource v;
    Msg why{};
    ASSERT_TRUE(readVersionResource(peFile(versionBlock("37 (0123abc)")), v, why))
        << messageName(why);
    EXPECT_EQ(v.machine, "32-bit x86");
    ASSERT_TRUE(v.hasFixed);
    EXPECT_EQ(std::vector<uint16_t>(v.fileVersion, v.fileVersion + 4),
              (std::vector<uint16_t>{37, 0, 2, 5}));
    EXPECT_EQ(v.value("ProductVersion"), "37 (0123abc)");
    EXPECT_EQ(v.value("FileDescription"), "brisvane card interface");

    ASSERT_TRUE(readVersionResource(peFile(versionBlock("37 (x)"), true), v, why))
        << messageName(why);
    EXPECT_EQ(v.machine, "64-bit x64");
    EXPECT_EQ(v.value("ProductVersion"), "37 (x)");

    struct Bad {
        std::string bytes;
        Msg why{};
    };
    const Bad bad[] = {
        {"", Msg::version_no_pe_header},
        {"hello, world", Msg::version_no_pe_header},
        {peFile(""), Msg::version_no_resource},
        {peFile(node("SomethingElse", "", 1, 0)), Msg::version_no_resource},
    };
    for (const Bad& b : bad) {
        EXPECT_FALSE(readVersionResource(b.bytes, v, why));
        EXPECT_EQ(messageName(why), messageName(b.why));
    }
}

TEST(VersionResource, DamagedFilesAreRefusedNotReadPastTheirEnd) {
    const std::string good = peFile(versionBlock("37 (0123abc)"));
    VersionResource v;
    Msg why{};
    for (std::size_t n = 0; n < good.size(); ++n) readVersionResource(good.substr(0, n), v, why);
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (char c : {'\0', '\xFF', '\x7F'}) {
            std::string bad = good;
            bad[at] = c;
            readVersionResource(bad, v, why);
        }
    }
    // A file cut before its version block ends shows no version of its own.
    EXPECT_FALSE(readVersionResource(good.substr(0, good.size() - 8), v, why));
}

TEST(VersionResource, TheCommandPrintsPathAndVersions) {
    const std::string dll = written("good.dll", peFile(versionBlock("37 (0123abc)")));
    StringOutput out;
    ASSERT_EQ(runVersion(dll, out), 0) << out.errText();
    EXPECT_EQ(out.outText(), "DLL             " + dll +
                                 "\n"
                                 "Built for       32-bit x86\n"
                                 "File version    37.0.2.5\n"
                                 "Product version 37 (0123abc)\n"
                                 "Description     brisvane card interface\n");
    StringOutput russian(kRussianCatalog);
    ASSERT_EQ(runVersion(dll, russian), 0) << russian.errText();
    EXPECT_EQ(russian.outText(), "DLL             " + dll +
                                     "\n"
                                     "Платформа       32-разрядная (x86)\n"
                                     "Версия файла    37.0.2.5\n"
                                     "Версия продукта 37 (0123abc)\n"
                                     "Описание файла  brisvane card interface\n");
    struct Bad {
        std::string path;
        std::string err;
        bool russian = false;
    };
    const Bad bad[] = {
        {dll + ".missing", "hostemu: cannot read " + dll + ".missing (if the host loads"},
        {written("plain.dll", peFile("")), "no version resource\n"},
        {written("text.dll", "not a program"), "not a Windows program (no PE header)\n"},
        {written("text-ru.dll", "not a program"), "не программа Windows (нет заголовка PE)\n",
         true},
    };
    for (const Bad& b : bad) {
        StringOutput failed(b.russian ? kRussianCatalog : kEnglishCatalog);
        EXPECT_EQ(runVersion(b.path, failed), 1);
        EXPECT_NE(failed.errText().find(b.err), std::string::npos) << failed.errText();
        std::remove(b.path.c_str());
    }
    std::remove(dll.c_str());
}
