#include "dllfile/VersionResource.h"

#include <algorithm>
#include <cstdio>

#include "cli/ExitStatus.h"
#include "cli/Output.h"
#include "encoding/Encodings.h"
#include "files/FileBytes.h"

namespace {

constexpr uint16_t kRtVersion = 16;

// Bounds-checked little-endian reads: a short or damaged file gives false.
struct Bytes {
    const std::string& s;
    bool u16(std::size_t at, uint16_t& v) const {
        if (at > s.size() || s.size() - at < 2) return false;
        v = static_cast<uint16_t>(static_cast<unsigned char>(s[at]) |
                                  static_cast<unsigned char>(s[at + 1]) << 8);
        return true;
    }
    bool u32(std::size_t at, uint32_t& v) const {
        uint16_t lo = 0, hi = 0;
        if (!u16(at, lo) || !u16(at + 2, hi)) return false;
        v = static_cast<uint32_t>(lo) | static_cast<uint32_t>(hi) << 16;
        return true;
    }
};

struct Section {
    uint32_t address, size, rawSize, rawOffset;
};

// The file offset of an address in the loaded image; false outside every section.
bool fileOffset(const std::vector<Section>& sections, uint32_t rva, std::size_t& at) {
    for (const Section& sec : sections) {
        const uint32_t size = sec.size > sec.rawSize ? sec.size : sec.rawSize;
        if (rva >= sec.address && rva - sec.address < size && rva - sec.address < sec.rawSize) {
            at = static_cast<std::size_t>(sec.rawOffset) + (rva - sec.address);
            return true;
        }
    }
    return false;
}

// The first entry of a resource directory with `id` (any entry when id is 0):
// where its data or subdirectory lies, from the start of the resource section.
bool directoryEntry(const Bytes& b, std::size_t base, uint32_t dirOffset, uint16_t id,
                    uint32_t& target, bool& isDirectory) {
    uint16_t named = 0, ids = 0;
    const std::size_t dir = base + dirOffset;
    if (!b.u16(dir + 12, named) || !b.u16(dir + 14, ids)) return false;
    for (uint32_t i = 0; i < static_cast<uint32_t>(named) + ids; ++i) {
        uint32_t name = 0, data = 0;
        if (!b.u32(dir + 16 + 8 * i, name) || !b.u32(dir + 20 + 8 * i, data)) return false;
        if (id != 0 && ((name & 0x80000000u) != 0 || name != id)) continue;
        isDirectory = (data & 0x80000000u) != 0;
        target = data & 0x7FFFFFFFu;
        return true;
    }
    return false;
}

std::string utf16Text(const std::string& s, std::size_t at, std::size_t end) {
    std::string units;
    for (std::size_t p = at; p + 1 < end && p + 1 < s.size(); p += 2) {
        if (s[p] == 0 && s[p + 1] == 0) break;
        units += s[p];
        units += s[p + 1];
    }
    return utf16AsUtf8("\xFF\xFE" + units);
}

std::size_t align4(std::size_t at, std::size_t start) { return at + ((4 - (at - start) % 4) % 4); }

// One node of the version block: its key, value and children.
struct Node {
    std::size_t start = 0, end = 0;  // the node's bytes
    uint16_t valueLength = 0, type = 0;
    std::string key;
    std::size_t value = 0;     // where the value starts
    std::size_t children = 0;  // where the children start
};

bool readNode(const std::string& s, std::size_t at, std::size_t limit, std::size_t blockStart,
              Node& n) {
    const Bytes b{s};
    uint16_t length = 0;
    if (!b.u16(at, length) || !b.u16(at + 2, n.valueLength) || !b.u16(at + 4, n.type)) return false;
    if (length < 6 || at + length > limit) return false;
    n.start = at;
    n.end = at + length;
    std::size_t p = at + 6;
    while (p + 1 < n.end && !(s[p] == 0 && s[p + 1] == 0)) p += 2;
    if (p + 1 >= n.end) return false;
    n.key = utf16Text(s, at + 6, p);
    n.value = align4(p + 2, blockStart);
    // A text value counts characters, a binary one bytes.
    const std::size_t valueBytes = n.type == 1 ? 2u * n.valueLength : n.valueLength;
    n.children = align4(n.value + valueBytes, blockStart);
    return n.value <= n.end;
}

void readStrings(const std::string& s, const Node& table, std::size_t blockStart,
                 VersionResource& out) {
    for (std::size_t at = table.children; at + 6 <= table.end;) {
        Node str;
        if (!readNode(s, at, table.end, blockStart, str)) return;
        out.strings.emplace_back(str.key, utf16Text(s, str.value, str.end));
        at = align4(str.end, blockStart);
    }
}

bool readVersionBlock(const std::string& s, std::size_t at, std::size_t size,
                      VersionResource& out) {
    const Bytes b{s};
    Node root;
    if (size > s.size() || at > s.size() - size || !readNode(s, at, at + size, at, root) ||
        root.key != "VS_VERSION_INFO")
        return false;
    uint32_t signature = 0, fileMs = 0, fileLs = 0, productMs = 0, productLs = 0;
    if (root.valueLength >= 52 && b.u32(root.value, signature) && signature == 0xFEEF04BDu &&
        b.u32(root.value + 8, fileMs) && b.u32(root.value + 12, fileLs) &&
        b.u32(root.value + 16, productMs) && b.u32(root.value + 20, productLs)) {
        out.hasFixed = true;
        const uint32_t file[] = {fileMs, fileLs}, product[] = {productMs, productLs};
        for (int i = 0; i < 2; ++i) {
            out.fileVersion[2 * i] = static_cast<uint16_t>(file[i] >> 16);
            out.fileVersion[2 * i + 1] = static_cast<uint16_t>(file[i]);
            out.productVersion[2 * i] = static_cast<uint16_t>(product[i] >> 16);
            out.productVersion[2 * i + 1] = static_cast<uint16_t>(product[i]);
        }
    }
    for (std::size_t p = root.children; p + 6 <= root.end;) {
        Node child;
        if (!readNode(s, p, root.end, at, child)) break;
        if (child.key == "StringFileInfo") {
            Node table;
            if (readNode(s, child.children, child.end, at, table)) readStrings(s, table, at, out);
            break;
        }
        p = align4(child.end, at);
    }
    return out.hasFixed || !out.strings.empty();
}

std::string machineName(uint16_t machine, const Catalog& catalog) {
    if (machine == 0x14c) return formatMessage(catalog, Msg::version_machine_x86);
    if (machine == 0x8664) return formatMessage(catalog, Msg::version_machine_x64);
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04x", machine);
    return formatMessage(catalog, Msg::version_machine_other, {{"code", buf}});
}

std::string dotted(const uint16_t v[4]) {
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + "." +
           std::to_string(v[3]);
}

}  // namespace

std::string VersionResource::value(const std::string& key) const {
    for (const auto& kv : strings)
        if (kv.first == key) return kv.second;
    return std::string();
}

bool readVersionResource(const std::string& s, VersionResource& out, Msg& why) {
    out = VersionResource();
    const Bytes b{s};
    uint32_t peAt = 0, resourceRva = 0;
    uint16_t machine = 0, sectionCount = 0, optionalSize = 0, magic = 0;
    if (s.compare(0, 2, "MZ") != 0 || !b.u32(0x3C, peAt) || peAt > s.size() ||
        s.compare(peAt, 4, std::string("PE\0\0", 4)) != 0 || !b.u16(peAt + 4, machine) ||
        !b.u16(peAt + 6, sectionCount) || !b.u16(peAt + 20, optionalSize) ||
        !b.u16(peAt + 24, magic)) {
        why = Msg::version_no_pe_header;
        return false;
    }
    out.machine = machineName(machine, kEnglishCatalog);
    out.machineCode = machine;
    // The resource directory is the third data directory.
    const std::size_t directories = peAt + 24 + (magic == 0x20b ? 112 : 96);
    uint32_t directoryCount = 0;
    if ((magic != 0x10b && magic != 0x20b) || !b.u32(directories - 4, directoryCount) ||
        directoryCount < 3 || !b.u32(directories + 16, resourceRva)) {
        why = Msg::version_damaged_pe_header;
        return false;
    }
    std::vector<Section> sections;
    const std::size_t table = peAt + 24 + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        Section sec{};
        const std::size_t at = table + 40u * i;
        if (!b.u32(at + 8, sec.size) || !b.u32(at + 12, sec.address) ||
            !b.u32(at + 16, sec.rawSize) || !b.u32(at + 20, sec.rawOffset)) {
            why = Msg::version_damaged_sections;
            return false;
        }
        sections.push_back(sec);
    }
    std::size_t base = 0;
    uint32_t typeDir = 0, nameDir = 0, leaf = 0, dataRva = 0, dataSize = 0;
    bool isDir = false;
    std::size_t dataAt = 0;
    if (resourceRva == 0 || !fileOffset(sections, resourceRva, base) ||
        !directoryEntry(b, base, 0, kRtVersion, typeDir, isDir) || !isDir ||
        !directoryEntry(b, base, typeDir, 0, nameDir, isDir) || !isDir ||
        !directoryEntry(b, base, nameDir, 0, leaf, isDir) || isDir ||
        !b.u32(base + leaf, dataRva) || !b.u32(base + leaf + 4, dataSize) ||
        !fileOffset(sections, dataRva, dataAt) || !readVersionBlock(s, dataAt, dataSize, out)) {
        why = Msg::version_no_resource;
        return false;
    }
    return true;
}

ExitStatus runVersion(const std::string& path, Output& output) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        output.complain(output.text(Msg::version_unreadable, {{"path", path}}));
        return exitstatus::kFound;
    }
    VersionResource v;
    Msg why{};
    const bool found = readVersionResource(bytes, v, why);
    const Msg labels[] = {Msg::version_dll, Msg::version_built_for, Msg::version_file_version,
                          Msg::version_product_version, Msg::version_description};
    std::size_t width = 0;
    for (Msg label : labels) width = std::max(width, utf8Characters(output.text(label)));
    std::string text;
    auto row = [&](Msg label, const std::string& value) {
        const std::string name = output.text(label);
        text += name + std::string(width + 1 - utf8Characters(name), ' ') + value + "\n";
    };
    row(Msg::version_dll, path);
    if (!v.machine.empty())
        row(Msg::version_built_for, machineName(v.machineCode, output.catalog()));
    if (!found) {
        output.out(text);
        output.complain(path + ": " + output.text(why));
        return exitstatus::kFound;
    }
    // As Properties > Details shows them; the product version names the commit built.
    const std::string product = v.value("ProductVersion");
    if (v.hasFixed) row(Msg::version_file_version, dotted(v.fileVersion));
    if (!product.empty() || v.hasFixed)
        row(Msg::version_product_version, product.empty() ? dotted(v.productVersion) : product);
    if (!v.value("FileDescription").empty())
        row(Msg::version_description, v.value("FileDescription"));
    output.out(text);
    return exitstatus::kDone;
}
